#pragma once

#include "hximainview.h"
#include "serviceobject.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

// "HxiMainView": the views of the host. The desktop host shows them as
// tabs; without a desktop they are kept but never shown.
class MainViewService final : public QObject, public ServiceObject<VemoInterface::HxiMainView>
{
    Q_OBJECT

public:
    MainViewService() : ServiceObject(QStringLiteral("HxiMainView")) {}

    void showView(QWidget *window) override;
    bool connectActivated(QObject *receiver, const char *slot) override;
    QWidget *activeView() override { return active; }

    // The host made `window` the active view.
    void activate(QWidget *window);
    // how many objects listen to view activation
    int activationListenerCount() const;

Q_SIGNALS:
    void activated(QWidget *window);
    void viewShown(QWidget *window);

private:
    QPointer<QWidget> active;
};
