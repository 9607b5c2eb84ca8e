#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>

// The widget `name` of a dialog's or page's form.
template <class Widget>
Widget *child(QWidget *form, const char *name)
{
    return form->findChild<Widget *>(QLatin1String(name));
}

// The entries a combo box offers, in order.
inline QStringList itemTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

// Confirms a dialog with its OK button, as a click does.
inline void pressOk(QWidget *dialog)
{
    child<QAbstractButton>(dialog, "okButton")->click();
}

// Runs `answer` on the next menu or modal dialog once it is shown, as the
// person in front of it would answer: each one is answered once.
inline void whenShown(const std::function<void(QWidget *)> &answer)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget *shown = QApplication::activePopupWidget();
        if (!shown)
            shown = QApplication::activeModalWidget();
        if (!shown || !shown->isVisible() || shown->property("answered").toBool())
            return;
        shown->setProperty("answered", true);
        timer->stop();
        timer->deleteLater();
        answer(shown);
    });
    timer->start();
}
