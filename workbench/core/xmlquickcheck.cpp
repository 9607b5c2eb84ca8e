#include "xmlquickcheck.h"

#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

constexpr QByteArrayView Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// Printable ASCII and the three white space characters: what text and
// attribute values may hold without a reference.
bool isPlainChar(char c)
{
    return (c >= 0x20 && c <= 0x7e) || c == '\t' || c == '\r' || c == '\n';
}

class Scan
{
public:
    explicit Scan(QByteArrayView data) : data(data) {}

    std::optional<QList<XmlQuickCheck::Element>> rootChildren(QByteArrayView childName)
    {
        if (!data.startsWith(Declaration))
            return std::nullopt;
        at = Declaration.size();
        skipSpace();
        QList<XmlQuickCheck::Element> children;
        std::vector<std::string_view> open;
        XmlQuickCheck::Element child;
        bool rootRead = false;
        while (at < data.size()) {
            if (data.at(at) != '<') {
                if (open.empty() || !text())
                    return std::nullopt;
                continue;
            }
            const qsizetype start = at;
            if (at + 1 < data.size() && data.at(at + 1) == '/') {
                std::string_view name;
                if (open.empty() || !endTag(name) || name != open.back())
                    return std::nullopt;
                open.pop_back();
                if (open.size() == 1 && name == std::string_view(childName.data(), childName.size())) {
                    child.endTagStart = start;
                    child.end = at;
                    children.append(child);
                }
                if (open.empty())
                    break;
                continue;
            }
            if (rootRead && open.empty())
                return std::nullopt;
            std::string_view name;
            bool empty = false;
            if (!startTag(name, empty))
                return std::nullopt;
            rootRead = true;
            const bool isChild = open.size() == 1
                                 && name == std::string_view(childName.data(), childName.size());
            if (isChild)
                child = {start, at, at, at};
            if (empty) {
                if (isChild)
                    children.append(child);
                if (open.empty())
                    break;
            } else {
                open.push_back(name);
            }
        }
        skipSpace();
        if (!rootRead || !open.empty() || at != data.size())
            return std::nullopt;
        return children;
    }

private:
    void skipSpace()
    {
        while (at < data.size() && isSpace(data.at(at)))
            ++at;
    }

    // A name without a colon; names beginning with "xml", which namespaces
    // reserve, are left to a reader.
    bool name(std::string_view &read)
    {
        const qsizetype start = at;
        if (at >= data.size() || !isNameStart(data.at(at)))
            return false;
        while (at < data.size() && isNameChar(data.at(at)))
            ++at;
        read = std::string_view(data.data() + start, size_t(at - start));
        return !(read.size() >= 3 && (read[0] | 0x20) == 'x' && (read[1] | 0x20) == 'm'
                 && (read[2] | 0x20) == 'l');
    }

    // A character reference or one of the five named ones, `at` on its "&".
    bool reference()
    {
        const qsizetype end = data.indexOf(';', at);
        if (end < 0 || end - at > 10)
            return false;
        const QByteArrayView inner = data.sliced(at + 1, end - at - 1);
        at = end + 1;
        if (inner == "lt" || inner == "gt" || inner == "amp" || inner == "quot" || inner == "apos")
            return true;
        if (inner.size() < 2 || inner.at(0) != '#')
            return false;
        const bool hex = inner.at(1) == 'x';
        const QByteArrayView digits = inner.sliced(hex ? 2 : 1);
        for (const char c : digits) {
            const bool digit = (c >= '0' && c <= '9')
                               || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
            if (!digit)
                return false;
        }
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        return ok && (code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF));
    }

    // Text up to the next markup.
    bool text()
    {
        while (at < data.size() && data.at(at) != '<') {
            const char c = data.at(at);
            if (c == '&') {
                if (!reference())
                    return false;
            } else if (c == '>' && at >= 2 && data.at(at - 1) == ']' && data.at(at - 2) == ']') {
                return false;
            } else if (!isPlainChar(c)) {
                return false;
            } else {
                ++at;
            }
        }
        return true;
    }

    bool endTag(std::string_view &read)
    {
        at += 2;
        if (!name(read))
            return false;
        skipSpace();
        if (at >= data.size() || data.at(at) != '>')
            return false;
        ++at;
        return true;
    }

    bool attributeValue()
    {
        if (at >= data.size() || (data.at(at) != '"' && data.at(at) != '\''))
            return false;
        const char quote = data.at(at++);
        while (at < data.size() && data.at(at) != quote) {
            const char c = data.at(at);
            if (c == '&') {
                if (!reference())
                    return false;
            } else if (c == '<' || !isPlainChar(c)) {
                return false;
            } else {
                ++at;
            }
        }
        if (at >= data.size())
            return false;
        ++at;
        return true;
    }

    bool startTag(std::string_view &read, bool &empty)
    {
        ++at;
        if (!name(read))
            return false;
        attributes.clear();
        while (true) {
            const qsizetype before = at;
            skipSpace();
            if (at >= data.size())
                return false;
            if (data.at(at) == '>') {
                ++at;
                return distinct();
            }
            if (data.at(at) == '/') {
                if (at + 1 >= data.size() || data.at(at + 1) != '>')
                    return false;
                at += 2;
                empty = true;
                return distinct();
            }
            std::string_view attribute;
            if (at == before || !name(attribute))
                return false;
            skipSpace();
            if (at >= data.size() || data.at(at) != '=')
                return false;
            ++at;
            skipSpace();
            if (!attributeValue())
                return false;
            attributes.push_back(attribute);
        }
    }

    // No attribute name twice in a tag. The tags of a large document mostly
    // repeat the names of one found distinct before, in the same order.
    bool distinct()
    {
        if (attributes == lastDistinct)
            return true;
        seen.clear();
        for (const std::string_view attribute : attributes) {
            if (!seen.insert(attribute).second)
                return false;
        }
        lastDistinct = attributes;
        return true;
    }

    QByteArrayView data;
    qsizetype at = 0;
    std::vector<std::string_view> attributes;
    std::vector<std::string_view> lastDistinct;
    std::unordered_set<std::string_view> seen;
};

} // namespace

std::optional<QList<XmlQuickCheck::Element>> XmlQuickCheck::rootChildren(QByteArrayView document,
                                                                        QByteArrayView childName)
{
    return Scan(document).rootChildren(childName);
}
