#include "sequenceeditorwiring.h"

#include "commandslistview.h"
#include "operationitem.h"
#include "orvsequencermaindialog.h"
#include "seqiopinsdialog.h"
#include "sequencelistview.h"

#include <QAction>
#include <QPointer>

void SequenceEditorWiring::connectWindow(ORVSequencerMainDialog *window, const HostLink &link,
                                         QAction *startAction)
{
    if (auto *palette = window->findChild<CommandsListView *>())
        palette->setHostLink(link);
    auto *list = window->findChild<SequenceListView *>();
    if (!list)
        return;
    list->setIoPinsEditor([link](SequenceElementItem *step, QWidget *parent) {
        SeqIOPinsDialog dialog(link, parent);
        dialog.loadParameters(step->parameters);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        dialog.storeParameters(step->parameters);
        step->setText(SequenceElementItem::PropertyColumn,
                      OperationItem::instrumentText(dialog.options().instrumentName));
        return true;
    });
    QPointer<QAction> start(startAction);
    list->setExecuteAllowed([start] { return start && start->isEnabled(); });
    QObject::connect(list, &SequenceListView::executeRequested, window,
                     &ORVSequencerMainDialog::slotStartSequence);
}
