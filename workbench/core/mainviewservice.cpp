#include "mainviewservice.h"

void MainViewService::showView(QWidget *window)
{
    Q_EMIT viewShown(window);
    activate(window);
}

bool MainViewService::connectActivated(QObject *receiver, const char *slot)
{
    return static_cast<bool>(connect(this, SIGNAL(activated(QWidget*)), receiver, slot,
                                     Qt::UniqueConnection));
}

void MainViewService::activate(QWidget *window)
{
    active = window;
    Q_EMIT activated(window);
}

int MainViewService::activationListenerCount() const
{
    return receivers(SIGNAL(activated(QWidget*)));
}
