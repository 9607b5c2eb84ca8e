#include "statusdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

StatusDlg::StatusDlg(Mode mode, const QString &caption, const QString &text, const QString &colour,
                     QWidget *parent)
    : QDialog(parent), dialogMode(mode)
{
    setWindowTitle(caption);
    setModal(true);
    label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setMargin(24);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(colour));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    QFont font = label->font();
    // A banner is read from across the bench; messages still from the chair.
    font.setPointSize(mode == Banner ? 36 : 18);
    font.setBold(mode == Banner);
    label->setFont(font);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (mode == Question) {
        firstButton = new QPushButton(tr("&Yes"), this);
        secondButton = new QPushButton(tr("&No"), this);
        buttons->addWidget(firstButton);
        buttons->addWidget(secondButton);
        connect(secondButton, &QPushButton::clicked, this, [this] { done(No); });
    } else {
        firstButton = new QPushButton(tr("&OK"), this);
        buttons->addWidget(firstButton);
    }
    connect(firstButton, &QPushButton::clicked, this, [this] { done(Yes); });
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label, 1);
    layout->addLayout(buttons);
    firstButton->setDefault(true);
    resize(480, 220);
}

void StatusDlg::setDefaultAnswer(bool noIsDefault)
{
    if (!secondButton)
        return;
    QPushButton *focus = noIsDefault ? secondButton : firstButton;
    firstButton->setDefault(!noIsDefault);
    secondButton->setDefault(noIsDefault);
    focus->setFocus();
}

void StatusDlg::pressButton()
{
    firstButton->animateClick();
}

void StatusDlg::closeAfter(int ms)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &StatusDlg::closeForTimeOut);
    timer->start(ms);
}

void StatusDlg::closeForTimeOut()
{
    if (dialogMode == Question)
        done(TimedOut);
    else
        pressButton();
}

QString StatusDlg::text() const
{
    return label->text();
}
