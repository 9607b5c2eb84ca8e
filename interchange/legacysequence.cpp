#include "legacysequence.h"

#include "textboundary.h"

#include "hxsequence.h"
#include "sqcconversion.h"
#include "sqmfile.h"
#include "userprompt.h"

#include <QDir>
#include <QFile>

std::optional<SqcFile> loadLegacySequence(const HostLink &link, QWidget *parent,
                                          const QString &fileName)
{
    SqcFile file;
    if (!file.read(fileName)) {
        showLegacySequenceError(link, parent, LoadingSequenceCaption, file.errorString());
        return std::nullopt;
    }
    return file;
}

bool writeLegacySequence(const QString &fileName, const QString &instrumentName,
                         const QString &sequenceName, const QString &folder,
                         const HxSequence &sequence, const QString &databasePath,
                         QString *errorMessage)
{
    const auto failed = [&](const QString &message) {
        // Whatever went wrong, a ".sqc" that does not match the sequence (or
        // its companion) must not stay behind.
        QFile::remove(fileName);
        if (errorMessage)
            *errorMessage = message;
        return false;
    };

    if (!folder.isEmpty() && !QDir().mkpath(folder))
        return failed(SqcFile::errorMessage(SqcFile::CantOpen, fileName));

    SqcFile file;
    if (!SqcConversion::writeSequenceFile(file, fileName, sequence, instrumentName, sequenceName,
                                          databasePath))
        return failed(file.errorString());

    SqmFile companion = SqcConversion::companionFromSequence(sequence, QDir(folder).dirName());
    if (!companion.write(SqmFile::companionFileName(fileName)))
        return failed(companion.errorString());

    if (errorMessage)
        errorMessage->clear();
    return true;
}

bool saveLegacySequence(const HostLink &link, const QString &fileName,
                        const QString &instrumentName, const QString &sequenceName,
                        const QString &folder, const HxSequence &sequence,
                        const QString &databasePath)
{
    QString message;
    if (writeLegacySequence(fileName, instrumentName, sequenceName, folder, sequence,
                            databasePath, &message))
        return true;
    showLegacySequenceError(link, nullptr, SavingSequenceCaption, message);
    return false;
}

void showLegacySequenceError(const HostLink &link, QWidget *parent, const QString &caption,
                             const QString &message)
{
    UserPrompt(link, parent).warning(caption, message);
}

QString legacySequenceFolder(const QString &projectDirectory, const QString &title)
{
    return QDir::cleanPath(projectDirectory + QStringLiteral("/Sequences/")
                           + TextBoundary::sequenceFolderName(title));
}

QString legacySequenceFileName(const QString &projectDirectory, const QString &title)
{
    const QString name =
        title.isEmpty() ? QStringLiteral("untitled") : TextBoundary::sequenceFolderName(title);
    return legacySequenceFolder(projectDirectory, title) + QLatin1Char('/') + name
           + QStringLiteral(".sqc");
}
