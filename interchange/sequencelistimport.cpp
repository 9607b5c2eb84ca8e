#include "sequencelistimport.h"

#include "cinifile.h"
#include "importvalidator.h"
#include "outputlog.h"
#include "sequencelistreader.h"
#include "storabletext.h"
#include "userprompt.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QProgressDialog>

#include <memory>

QString SequenceListImport::chooseFile(const QString &projectDirectory) const
{
    return UserPrompt(link, parent)
        .openFileName(tr("Choose a Sequence List file"),
                      QDir::toNativeSeparators(projectDirectory + QStringLiteral("/Sequences")),
                      tr("SEQL Files") + QStringLiteral(" (*.seql)"));
}

void SequenceListImport::announce(const QString &sequenceTitle, const QString &fileName) const
{
    //: %1 = Sequence Title, %2 = File Name
    OutputLog(link).message(tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" started...")
                                .arg(sequenceTitle, QDir::toNativeSeparators(fileName)));
}

void SequenceListImport::finish(const QString &sequenceTitle, const QString &fileName) const
{
    //: %1 = Sequence Title, %2 = File Name
    OutputLog(link).message(tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" finished")
                                .arg(sequenceTitle, QDir::toNativeSeparators(fileName)));
}

namespace {

// The item of `key` with what a project cannot store removed, each removal
// named in the log.
ImportedItem storableItem(const SequenceListReader &reader, const QString &key,
                          const OutputLog *log = nullptr, const QString &sequenceTitle = QString())
{
    ImportedItem imported = reader.buildItem(key);
    for (const QString &field : StorableText::clean(imported.item)) {
        if (log)
            //: %1 = Sequence Title, %2 = Item Key, %3 = Key
            log->charactersRemoved(
                SequenceListImport::tr("ORV Sequencer '%1' - '%2': '%3' value held characters a "
                                       "project cannot store")
                    .arg(sequenceTitle, key, field));
    }
    return imported;
}

} // namespace

HxSequenceItemList SequenceListImport::validItems(const CIniFile &document,
                                                  ImportValidator &validator)
{
    const SequenceListReader reader(document);
    HxSequenceItemList items;
    for (const QString &key : reader.itemKeys()) {
        ImportedItem imported = storableItem(reader, key);
        if (validator.validate(imported))
            items.append(std::make_shared<HxSequenceItem>(std::move(imported.item)));
    }
    return items;
}

SequenceListImport::Result SequenceListImport::read(const QString &sequenceTitle,
                                                    const QString &fileName) const
{
    const QString shownName = QDir::toNativeSeparators(fileName);
    Result result;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    CIniFile document;
    const bool loaded = document.load(fileName);
    const SequenceListReader reader(document);
    const QStringList keys = reader.itemKeys();
    ImportValidator validator(link, sequenceTitle);
    QApplication::restoreOverrideCursor();

    const OutputLog log(link);
    if (loaded && document.readAsWindows1252())
        //: %1 = Sequence Title, %2 = File Name
        log.message(tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" is not UTF-8 text; it "
                       "was read as Windows-1252")
                        .arg(sequenceTitle, shownName));
    // A file that lists no items is no sequence list; emptying the sequence
    // with it would only lose the steps it has.
    if (loaded && keys.isEmpty())
        //: %1 = File Name
        return refuse(sequenceTitle, fileName,
                      tr("\"%1\" is not a sequence list: it has no [SEQUENCE] section with items.")
                          .arg(shownName));
    if (!loaded)
        return refuse(sequenceTitle, fileName, document.errorString());
    result.listed = int(keys.size());

    std::unique_ptr<QProgressDialog> progress;
    if (!UserPrompt(link, parent).hostAnswers()) {
        progress = std::make_unique<QProgressDialog>(tr("Importing Sequence List..."),
                                                     tr("Cancel"), 0, int(keys.size()), parent);
        progress->setWindowTitle(tr("Import Sequence List"));
        progress->setWindowIcon(QIcon(QStringLiteral(":/images/ORVSequencerImport.png")));
        progress->setFixedSize(300, 100);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
    }

    int step = 0;
    // The bar moves a hundredth at a time: each move of a modal progress
    // dialog lets the event loop run, which cost more than reading the item.
    const int progressStride = qMax(1, int(keys.size()) / 100);
    for (const QString &key : keys) {
        if (progress) {
            if (step % progressStride == 0)
                progress->setValue(step);
            if (progress->wasCanceled()) {
                //: %1 = Sequence Title, %2 = File Name
                OutputLog(link).message(
                    tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" cancelled")
                        .arg(sequenceTitle, shownName));
                result.outcome = Result::Outcome::Cancelled;
                result.items.clear();
                return result;
            }
        }
        ++step;
        ImportedItem imported = storableItem(reader, key, &log, sequenceTitle);
        if (validator.validate(imported))
            result.items.append(std::make_shared<HxSequenceItem>(std::move(imported.item)));
    }
    if (result.items.isEmpty())
        //: %1 = File Name
        return refuse(sequenceTitle, fileName,
                      tr("No item of \"%1\" could be imported; the sequence is left as it was.")
                          .arg(shownName));
    return result;
}

SequenceListImport::Result SequenceListImport::refuse(const QString &sequenceTitle,
                                                      const QString &fileName,
                                                      const QString &reason) const
{
    //: %1 = Sequence Title, %2 = File Name
    OutputLog(link).message(tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" failed")
                                .arg(sequenceTitle, QDir::toNativeSeparators(fileName)));
    UserPrompt(link, parent).warning(tr("Import Sequence List"), reason);
    Result result;
    result.outcome = Result::Outcome::Unreadable;
    return result;
}
