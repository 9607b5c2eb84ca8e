#include "sequenceeditorwiring.h"

#include "commandslistview.h"
#include "operationitem.h"
#include "orvsequencermaindialog.h"
#include "seqiopinsdialog.h"
#include "sequencelistview.h"

#include <QAction>
#include <QPointer>
#include <QSplitter>
#include <QTreeWidget>

namespace {

// The palettes' width as the person last left it, for the next window.
int paletteWidth = 0;

void giveTheListTheRoom(ORVSequencerMainDialog *window)
{
    auto *splitter = window->findChild<QSplitter *>(QStringLiteral("mainSplitter"));
    if (!splitter || splitter->count() != 2)
        return;
    // At first just wide enough for the longest operation's name.
    if (paletteWidth <= 0) {
        paletteWidth = 160;
        if (auto *operations = window->findChild<QTreeWidget *>(QStringLiteral("operationsListView"))) {
            for (int row = 0; row < operations->topLevelItemCount(); ++row) {
                const int text = operations->fontMetrics().horizontalAdvance(operations->topLevelItem(row)->text(0));
                paletteWidth = qMax(paletteWidth, text + 70);   // icon, margins, frames, scroll bar
            }
        }
    }
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({4 * paletteWidth, paletteWidth});
    QObject::connect(splitter, &QSplitter::splitterMoved, splitter,
                     [splitter] { paletteWidth = splitter->sizes().value(1, paletteWidth); });
}

} // namespace

void SequenceEditorWiring::connectWindow(ORVSequencerMainDialog *window, const HostLink &link,
                                         QAction *startAction)
{
    giveTheListTheRoom(window);
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
