#include "textboundary.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

bool isXmlCharacter(char32_t c)
{
    if (c == 0x9 || c == 0xA || c == 0xD)
        return true;
    if (c < 0x20)
        return false;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

// Characters that Windows refuses in names; projects travel between stations.
bool isReservedInNames(QChar c)
{
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    return reserved.contains(c);
}

} // namespace

QString TextBoundary::toHtml(const QString &text)
{
    QString html;
    html.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': html += QLatin1String("&amp;"); break;
        case '<': html += QLatin1String("&lt;"); break;
        case '>': html += QLatin1String("&gt;"); break;
        case '"': html += QLatin1String("&quot;"); break;
        case '\'': html += QLatin1String("&#39;"); break;
        default: html += c;
        }
    }
    return html;
}

QString TextBoundary::toHtmlText(const QString &text)
{
    QString html = text;
    html.replace(u'&', QLatin1String("&amp;"));
    html.replace(u'<', QLatin1String("&lt;"));
    html.replace(u'>', QLatin1String("&gt;"));
    return html;
}

QString TextBoundary::fromHtml(const QString &html)
{
    static const QRegularExpression lineBreak(QStringLiteral("<br>\\r?\\n?"));
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.replace(lineBreak, QStringLiteral("\n"));
    text.remove(markup);
    // "&amp;" last, so that an escaped entity stays as it was typed
    for (const auto &[entity, character] : {std::pair{"&nbsp;", u' '}, {"&lt;", u'<'}, {"&gt;", u'>'},
                                             {"&quot;", u'"'}, {"&#39;", u'\''}, {"&amp;", u'&'}})
        text.replace(QLatin1String(entity), QString(QChar(character)));
    return text;
}

QString TextBoundary::toXml(const QString &text)
{
    if (isXmlSafe(text))
        return text;
    QString safe;
    safe.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            safe += c;
            safe += text.at(++i);
            continue;
        }
        if (isXmlCharacter(c.unicode()))
            safe += c;
    }
    return safe;
}

bool TextBoundary::isXmlSafe(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!isXmlCharacter(c.unicode()))
            return false;
    }
    return true;
}

QString TextBoundary::toFileName(const QString &text, int maximumLength)
{
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate())
            continue;
        name += isReservedInNames(c) ? QChar(u'_') : c;
    }
    qsizetype begin = 0;
    while (begin < name.size() && (name.at(begin) == u'.' || name.at(begin) == u' '))
        ++begin;
    name = name.mid(begin).left(qMax(1, maximumLength));
    while (!name.isEmpty() && (name.endsWith(u'.') || name.endsWith(u' ')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("_") : name;
}

QString TextBoundary::toLink(const QString &relativePath)
{
    QString path = relativePath;
    path.replace(u'\\', u'/');
    QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (QString &part : parts)
        part = QString::fromLatin1(QUrl::toPercentEncoding(part));
    return parts.join(u'/');
}

QString TextBoundary::titleProblem(const QString &title)
{
    if (title.trimmed().isEmpty())
        return QStringLiteral("A sequence title can't be empty.");
    if (title.contains(u'/') || title.contains(u'\\'))
        return QStringLiteral("A sequence title can't hold \"/\" or \"\\\".");
    if (!isXmlSafe(title) || title.contains(QChar(0x7F)))
        return QStringLiteral("A sequence title can't hold control characters.");
    if (title == QLatin1String(".") || title == QLatin1String(".."))
        return QStringLiteral("A sequence title can't be \".\" or \"..\".");
    const QChar first = title.front();
    const QChar last = title.back();
    if (first == u' ' || first == u'.' || last == u' ' || last == u'.')
        return QStringLiteral("A sequence title can't start or end with a space or a dot.");
    return {};
}

QString TextBoundary::sequenceFolderName(const QString &title)
{
    if (title.isEmpty() || titleProblem(title).isEmpty())
        return title;
    return toFileName(title);
}

namespace {

bool isLineBreakLetter(QChar c)
{
    return c == u'n' || c == u'r';
}

} // namespace

QString TextBoundary::toIniValue(const QString &text)
{
    if (!text.contains(u'\\') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString value;
    value.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == u'\\') {
            qsizetype end = i;
            while (end < text.size() && text.at(end) == u'\\')
                ++end;
            // A run of backslashes before a letter the reader would take as
            // an escape is written doubled; an even run reads back as itself.
            const bool beforeEscape = end < text.size()
                                      && (isLineBreakLetter(text.at(end)) || text.at(end) == u'\n'
                                          || text.at(end) == u'\r');
            value += QString(beforeEscape ? 2 * (end - i) : end - i, u'\\');
            i = end;
            continue;
        }
        if (c == u'\n')
            value += QLatin1String("\\n");
        else if (c == u'\r')
            value += QLatin1String("\\r");
        else
            value += c;
        ++i;
    }
    return value;
}

QString TextBoundary::fromIniValue(const QString &text)
{
    if (!text.contains(u'\\'))
        return text;
    QString value;
    value.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) != u'\\') {
            value += text.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end) == u'\\')
            ++end;
        const qsizetype run = end - i;
        if (end < text.size() && isLineBreakLetter(text.at(end))) {
            value += QString(run / 2, u'\\');
            if (run % 2)
                value += text.at(end) == u'n' ? u'\n' : u'\r';
            else
                value += text.at(end);
            i = end + 1;
        } else {
            value += QString(run, u'\\');
            i = end;
        }
    }
    return value;
}
