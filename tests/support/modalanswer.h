#pragma once

#include <QApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>

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
