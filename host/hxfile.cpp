#include "hxfile.h"

#include <QDir>

bool HxFile_stripPathFromFileName(const QString &fileName, const QString &folder, QString &rest)
{
    if (fileName.isEmpty() || folder.isEmpty())
        return false;
    const QString file = QDir::cleanPath(QDir::fromNativeSeparators(fileName));
    QString base = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    if (!base.endsWith(QLatin1Char('/')))
        base.append(QLatin1Char('/'));
#if defined(Q_OS_WIN)
    const Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    if (file.size() <= base.size() || !file.startsWith(base, sensitivity))
        return false;
    rest = file.mid(base.size());
    return true;
}
