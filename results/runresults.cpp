#include "runresults.h"

#include "textboundary.h"

#include "hostservice.h"
#include "hxidatabase.h"
#include "junitreport.h"
#include "resultsstore.h"
#include "runjson.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {

bool writeFile(const QString &fileName, const QByteArray &bytes, QStringList &problems)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    problems << QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(fileName),
                                                          file.errorString());
    return false;
}

} // namespace

void RunResults::runStarted(const HostLink &link, const QString &sequence, const QString &runFolderName)
{
    RunRecord header;
    header.sequence = sequence;
    header.user = link.mainValue(QStringLiteral("UserLogin"));
    header.privilege = link.mainValue(QStringLiteral("UserPrivilege"));
    header.host = QSysInfo::machineHostName();
    projectDirectory.clear();
    if (HostService<VemoInterface::HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database) {
        projectDirectory = database->projectDirectory();
        header.project = database->projectName();
    }
    const QString folder = projectDirectory.isEmpty() || runFolderName.isEmpty()
                               ? QString()
                               : QDir(projectDirectory).filePath(QStringLiteral("Sequences/%1/%2")
                                                                     .arg(sequence, runFolderName));
    // A continued run writes into the folder it started; its files are not
    // new, and the unit it was testing is still under test.
    if (!folder.isEmpty() && folder == runFolder) {
        recorder.runContinued(header);
        return;
    }
    runFolder = folder;
    seenFiles.clear();
    newRunFiles();
    recorder.runStarted(header);
}

void RunResults::unitIdentified(int cycle, const QString &serialNumber, const QString &folder,
                                const QString &taps)
{
    recorder.unitIdentified(cycle, serialNumber, folder, taps);
}

// The files a step left are those that appeared in the run folder since the
// step before it ended. The folder is read after every step and grows by a
// file or more with each of them: only the names are read, and only the new
// ones are made into paths, so a long run's step does not cost the listing
// and sorting of every file its run has made so far.
QStringList RunResults::newRunFiles()
{
    if (runFolder.isEmpty())
        return QStringList();
    QStringList names = unseenFileNames();
    if (names.isEmpty())
        return names;
    // in the order a listing by name gives
    std::sort(names.begin(), names.end());
    const QDir folder(runFolder);
    QStringList files;
    for (const QString &name : std::as_const(names))
        files << folder.filePath(name);
    return files;
}

#if defined(Q_OS_UNIX)
// The files a listing of the folder's files gives (not hidden, regular
// files or links to them), read with the system's directory calls.
QStringList RunResults::unseenFileNames()
{
    QStringList names;
    // Most runs never make their folder: a failed open is the one system
    // call a look for it would cost.
    const QByteArray folder = QFile::encodeName(runFolder);
    DIR *directory = ::opendir(folder.constData());
    if (!directory)
        return names;
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name = QByteArray::fromRawData(entry->d_name, qstrlen(entry->d_name));
        if (name.startsWith('.') || seenFiles.contains(name))
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status;
            isFile = ::stat((folder + '/' + name).constData(), &status) == 0 && S_ISREG(status.st_mode);
        }
        if (!isFile)
            continue;
        const QByteArray kept(name.constData(), name.size());
        seenFiles.insert(kept);
        names << QFile::decodeName(kept);
    }
    ::closedir(directory);
    return names;
}
#else
QStringList RunResults::unseenFileNames()
{
    QStringList names;
    // Most runs never make their folder: one look for it is far cheaper
    // than a listing that finds nothing.
    if (!QFileInfo::exists(runFolder))
        return names;
    for (const QString &name : QDir(runFolder).entryList(QDir::Files)) {
        const QByteArray key = name.toUtf8();
        if (!seenFiles.contains(key)) {
            seenFiles.insert(key);
            names << name;
        }
    }
    return names;
}
#endif

void RunResults::stepFinished(RunRecord::Step step, const QString &outputHtml)
{
    step.outputFiles = newRunFiles();
    if (!outputHtml.isEmpty())
        step.output = TextBoundary::fromHtml(outputHtml);
    recorder.stepFinished(step);
}

QString RunResults::runEnded(const HostLink &link, const QString &end, const QString &verdict,
                             const QString &reportFile, const Settings &settings)
{
    const std::optional<RunRecord> record = recorder.runEnded(end, verdict, reportFile);
    if (!record)
        return QString();
    QStringList problems;
    // Made only when a file asks for them: a long run's record is large.
    std::optional<QByteArray> json;
    std::optional<QByteArray> junit;
    const auto jsonText = [&]() -> const QByteArray & {
        if (!json)
            json = RunJson::toJson(*record);
        return *json;
    };
    const auto junitText = [&]() -> const QByteArray & {
        if (!junit)
            junit = JUnitReport::toXml(*record);
        return *junit;
    };
    if (settings.saveResultFiles && !reportFile.isEmpty()) {
        const QFileInfo report(reportFile);
        const QString base = report.path() + QLatin1Char('/') + report.completeBaseName();
        writeFile(base + QStringLiteral(".json"), jsonText(), problems);
        writeFile(base + QStringLiteral(".junit.xml"), junitText(), problems);
    }
    if (const QString file = link.mainValue(QStringLiteral("ResultsJsonFile")); !file.isEmpty())
        writeFile(file, jsonText(), problems);
    if (const QString file = link.mainValue(QStringLiteral("ResultsJUnitFile")); !file.isEmpty())
        writeFile(file, junitText(), problems);
    if (!projectDirectory.isEmpty()) {
        const ResultsStore::Outcome stored =
            ResultsStore::record(*record, projectDirectory, ResultsStore::serverLocation(settings.server));
        if (stored.recorded && !stored.problem.isEmpty())
            problems << QStringLiteral("the run is kept in the project and waits for the results server "
                                       "(%1 waiting): %2").arg(stored.pending).arg(stored.problem);
        else if (!stored.problem.isEmpty())
            problems << QStringLiteral("the run could not be recorded: %1").arg(stored.problem);
    }
    return problems.join(QStringLiteral("; "));
}

QString RunResults::pauseAnswer(const QString &status, bool noIsPass)
{
    if (status == QLatin1String("Timeout"))
        return QStringLiteral("timeout");
    if (status == QLatin1String("Passed"))
        return noIsPass ? QStringLiteral("no") : QStringLiteral("yes");
    if (status == QLatin1String("Failed"))
        return noIsPass ? QStringLiteral("yes") : QStringLiteral("no");
    return QString();
}

