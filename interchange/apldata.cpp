#include "apldata.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>

bool AplData::parse(const QByteArray &fileName8bit, int parseType, bool strict, bool reserved)
{
    Q_UNUSED(reserved)
    actions.clear();
    lastError.clear();

    const QString fileName = QFile::decodeName(fileName8bit);
    if (fileName.isEmpty())
        return fail(fileName, tr("no file name given"));
    if (parseType != ParseActions)
        return fail(fileName, tr("parse type %1 is not supported").arg(parseType));

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(fileName, file.errorString());
    // Read one byte past the limit rather than trusting size(): devices and
    // pipes report no size and may never end.
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(fileName, file.errorString());
    if (bytes.size() > maxFileSize)
        return fail(fileName, tr("the file is larger than %1 bytes").arg(maxFileSize));
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        return fail(fileName, tr("not a text file (zero byte at offset %1)").arg(zero));

    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    QStringList found;
    QString section;
    qsizetype lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        const QByteArrayView raw = rest.first(end);
        qsizetype next = end;
        if (next < rest.size())
            next += (rest[next] == '\r' && next + 1 < rest.size() && rest[next + 1] == '\n') ? 2 : 1;
        rest = rest.sliced(next);

        if (raw.size() > maxLineLength)
            return failAtLine(fileName, lineNumber,
                              tr("the line is longer than %1 bytes").arg(maxLineLength));
        // Each line is decoded on its own so that an error can name its line.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder(raw);
        if (decoder.hasError())
            return failAtLine(fileName, lineNumber, tr("the text is not valid UTF-8"));

        const QStringView line = QStringView(decoded).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                if (strict)
                    return failAtLine(fileName, lineNumber, tr("a section header lacks its \"]\""));
                // Unreadable header: its entries belong to no known section.
                section = QString();
                continue;
            }
            section = line.sliced(1, line.size() - 2).trimmed().toString();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            if (strict)
                return failAtLine(fileName, lineNumber, tr("the line is not \"key = value\""));
            continue;
        }
        const QStringView key = line.first(equals).trimmed();
        if (section.compare(u"actions", Qt::CaseInsensitive) != 0
            || key.compare(u"action", Qt::CaseInsensitive) != 0)
            continue;
        const QStringView name = line.sliced(equals + 1).trimmed();
        if (name.isEmpty()) {
            if (strict)
                return failAtLine(fileName, lineNumber, tr("an action has no name"));
            continue;
        }
        found.append(name.toString());
    }

    actions = found;
    return true;
}

bool AplData::fail(const QString &fileName, const QString &problem)
{
    //: %1 = Application File, %2 = problem
    lastError = tr("Cannot read application file \"%1\": %2").arg(fileName, problem);
    return false;
}

bool AplData::failAtLine(const QString &fileName, qsizetype lineNumber, const QString &problem)
{
    //: %1 = Application File, %2 = line number, %3 = problem
    lastError = tr("Cannot read application file \"%1\", line %2: %3")
                    .arg(fileName, QString::number(lineNumber), problem);
    return false;
}
