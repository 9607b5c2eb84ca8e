#include "sequencelistimport.h"

#include "cinifile.h"
#include "importvalidator.h"
#include "outputlog.h"
#include "sequencelistreader.h"
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

HxSequenceItemList SequenceListImport::validItems(const CIniFile &document,
                                                  ImportValidator &validator)
{
    const SequenceListReader reader(document);
    HxSequenceItemList items;
    for (const QString &key : reader.itemKeys()) {
        ImportedItem imported = reader.buildItem(key);
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

    if (!loaded) {
        //: %1 = Sequence Title, %2 = File Name
        OutputLog(link).message(tr("ORV Sequencer '%1' - Import Sequence List: \"%2\" failed")
                                    .arg(sequenceTitle, shownName));
        UserPrompt(link, parent).warning(tr("Import Sequence List"), document.errorString());
        result.outcome = Result::Outcome::Unreadable;
        return result;
    }
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
    for (const QString &key : keys) {
        if (progress) {
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
        ImportedItem imported = reader.buildItem(key);
        if (validator.validate(imported))
            result.items.append(std::make_shared<HxSequenceItem>(std::move(imported.item)));
    }
    return result;
}
