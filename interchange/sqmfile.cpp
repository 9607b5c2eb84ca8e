#include "sqmfile.h"

#include "sqcfile.h"

#include <QFile>
#include <QSaveFile>

namespace {

QByteArray lineOf(const SqmFile::Entry &entry)
{
    return QStringLiteral("\"%1\"\t\"%2\"\r\n").arg(entry.filePath, entry.place).toLocal8Bit();
}

} // namespace

QString SqmFile::companionFileName(const QString &sqcFileName)
{
    static const QString sqc = QStringLiteral(".sqc");
    if (sqcFileName.endsWith(sqc, Qt::CaseInsensitive))
        return sqcFileName.left(sqcFileName.size() - sqc.size()) + QStringLiteral(".sqm");
    return sqcFileName + QStringLiteral(".sqm");
}

QString SqmFile::extractPlace(const QString &folderName, const QString &applicationName)
{
    // Backslashes whatever the platform: the place is resolved by the
    // unpacking side, which always used them.
    return QStringLiteral("<ExtractPath>\\%1\\%2").arg(folderName, applicationName);
}

bool SqmFile::addFile(const QString &filePath, const QString &folderName,
                      const QString &applicationName)
{
    if (filePath.isEmpty())
        return false;
    return addEntry({filePath, extractPlace(folderName, applicationName)});
}

bool SqmFile::addEntry(const Entry &entry)
{
    if (entryList.contains(entry))
        return false;
    entryList.append(entry);
    return true;
}

QByteArray SqmFile::toData() const
{
    QByteArray data;
    for (const Entry &entry : entryList)
        data += lineOf(entry);
    return data;
}

bool SqmFile::write(const QString &fileName)
{
    lastError.clear();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        lastError = SqcFile::errorMessage(SqcFile::CantOpen, fileName);
        return false;
    }
    const QByteArray data = toData();
    if (file.write(data) != data.size() || !file.commit()) {
        lastError = SqcFile::errorMessage(SqcFile::WriteError, fileName);
        return false;
    }
    return true;
}

bool SqmFile::read(const QString &fileName)
{
    lastError.clear();
    entryList.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        lastError = SqcFile::errorMessage(SqcFile::CantOpen, fileName);
        return false;
    }
    const QString text = QString::fromLocal8Bit(file.readAll());
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A file path may itself hold a tab, the place never does: split at
        // the last one.
        const int tab = int(line.lastIndexOf(QLatin1String("\"\t\"")));
        if (tab < 1 || !line.startsWith(QLatin1Char('"')) || !line.endsWith(QLatin1Char('"'))
            || line.size() < tab + 4)
            continue;
        addEntry({line.mid(1, tab - 1), line.mid(tab + 3, line.size() - tab - 4)});
    }
    return true;
}
