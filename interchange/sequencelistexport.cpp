#include "sequencelistexport.h"

#include "executionparameters.h"

#include "controloperations.h"

#include "cinifile.h"
#include "hxsequence.h"
#include "outputlog.h"
#include "sequencelistwriter.h"
#include "userprompt.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QProgressDialog>

#include <memory>

QString SequenceListExport::withExtension(const QString &fileName)
{
    if (fileName.endsWith(Extension, Qt::CaseInsensitive))
        return fileName;
    return fileName + Extension;
}

QString SequenceListExport::chooseFile(const QString &sequenceTitle,
                                       const QString &projectDirectory) const
{
    const UserPrompt prompt(link, parent);
    const QString startFolder =
        QDir::toNativeSeparators(projectDirectory + QStringLiteral("/Sequences/"));
    const QString answer = prompt.saveFileName(
        tr("Choose a Sequence List file"), startFolder + sequenceTitle + Extension,
        tr("SEQL Files") + QStringLiteral(" (*.seql)"));
    if (answer.isEmpty())
        return QString();

    const QString fileName = withExtension(answer);
    if (QFileInfo::exists(fileName)) {
        //: %1 = File
        const QString text = tr("Sequence List file already exists:\n%1\n\nDo you want to overwrite?")
                                 .arg(QDir::toNativeSeparators(fileName));
        if (!prompt.question(tr("Sequence List file already exists"), text, false))
            return QString();
    }
    return fileName;
}

void SequenceListExport::warnOfLostPinPatterns(const QString &title,
                                               const HxSequenceItemList &items) const
{
    namespace Parameter = ExecutionParameters;
    // A sequence list keeps which TAPs write and read but not the patterns:
    // imported again, the step would drive and compare nothing.
    static const QStringList patternFields = {
        Parameter::TapField::IoPinWCtrl, Parameter::TapField::IoPinWData,
        Parameter::TapField::IoPinRCtrl, Parameter::TapField::IoPinRData};
    int number = 0;
    for (const HxSequenceItemPtr &item : items) {
        ++number;
        if (!item || item->columnOperation != ControlOperations::IoPins)
            continue;
        QStringList lost;
        for (auto it = item->parameters.cbegin(); it != item->parameters.cend(); ++it) {
            const auto key = Parameter::parseTapInfoKey(it.key());
            if (key && patternFields.contains(key->field) && !it.value().isEmpty()
                && it.value() != QLatin1String("0"))
                lost.append(it.key());
        }
        if (!lost.isEmpty())
            //: %1 = Sequence Title, %2 = Item Number, %3 = Parameter Keys
            OutputLog(link).warning(
                tr("ORV Sequencer '%1' - Nr. '%2': a sequence list does not keep the I/O pin "
                   "patterns of this step (%3); imported again, it writes and reads no pins")
                    .arg(title, QString::number(number), lost.join(QStringLiteral(", "))));
    }
}

SequenceListExport::Result SequenceListExport::write(const HxSequence &sequence,
                                                      const QString &fileName) const
{
    const OutputLog log(link);
    const QString title = sequence.title();
    const QString shownName = QDir::toNativeSeparators(fileName);
    //: %1 = Sequence Title, %2 = File Name
    log.message(tr("ORV Sequencer '%1' - Export Sequence List: \"%2\" started...")
                    .arg(title, shownName));

    // A copy: the export works on the items as they were when it started.
    const HxSequenceItemList items = sequence.items();
    const int steps = int(items.size()) * 2;

    std::unique_ptr<QProgressDialog> progress;
    if (!UserPrompt(link, parent).hostAnswers()) {
        progress = std::make_unique<QProgressDialog>(tr("Exporting Sequence List..."),
                                                     tr("Cancel"), 0, steps, parent);
        progress->setWindowTitle(tr("Export Sequence List"));
        progress->setWindowIcon(QIcon(QStringLiteral(":/images/ORVSequencerExport.png")));
        progress->setFixedSize(300, 100);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
    }
    // The bar moves a hundredth at a time: each move of a modal progress
    // dialog lets the event loop run, which cost more than writing the step.
    const int progressStride = qMax(1, steps / 100);
    const auto cancelledAt = [&](int step) {
        if (!progress)
            return false;
        if (step % progressStride == 0)
            progress->setValue(step);
        return progress->wasCanceled();
    };

    CIniFile document;
    SequenceListWriter writer(document);
    int step = 0;
    bool cancelled = false;
    for (int pass = 0; pass < 2 && !cancelled; ++pass) {
        int number = 1;
        for (const HxSequenceItemPtr &item : items) {
            if (cancelledAt(step)) {
                cancelled = true;
                break;
            }
            if (item) {
                if (pass == 0)
                    writer.placeSequenceEntry(number, *item);
                else
                    writer.placeItemSections(number, *item);
            }
            ++step;
            ++number;
        }
    }
    progress.reset();

    if (cancelled) {
        //: %1 = Sequence Title, %2 = File Name
        log.message(tr("ORV Sequencer '%1' - Export Sequence List: \"%2\" cancelled")
                        .arg(title, shownName));
        return Result::Cancelled;
    }

    document.setFileName(fileName);
    if (!document.save()) {
        //: %1 = Sequence Title, %2 = File Name
        log.message(tr("ORV Sequencer '%1' - Export Sequence List: \"%2\" failed")
                        .arg(title, shownName));
        return Result::Failed;
    }
    warnOfLostPinPatterns(title, items);
    //: %1 = Sequence Title, %2 = File Name
    log.message(tr("ORV Sequencer '%1' - Export Sequence List: \"%2\" finished")
                    .arg(title, shownName));
    //: %1 = INI File
    UserPrompt(link, parent).information(tr("Sequence List Exported"),
                                         tr("Sequence List exported correctly:\n%1").arg(fileName));
    return Result::Written;
}
