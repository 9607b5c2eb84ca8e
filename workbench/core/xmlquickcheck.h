#pragma once

#include <QByteArrayView>
#include <QList>

#include <optional>

// A fast look at a UTF-8 document made of plain markup only: elements,
// attributes, text and the five named or numeric character references,
// all in ASCII, after the declaration the host writes. It finds such a
// document well-formed far faster than a reader, and tells nothing about
// anything else (comments, other characters, namespaces, damage): a
// reader, which names the fault and its place, reads those.
class XmlQuickCheck
{
public:
    // Byte offsets of an element: where its start tag begins and ends, and
    // where its end tag begins and ends (the same for an empty element).
    struct Element
    {
        qsizetype start = 0;
        qsizetype startTagEnd = 0;
        qsizetype endTagStart = 0;
        qsizetype end = 0;
    };

    // The children of the root named `childName`, when the document is
    // plain markup and well-formed; nothing otherwise.
    static std::optional<QList<Element>> rootChildren(QByteArrayView document, QByteArrayView childName);
};
