#pragma once

#include <QString>
#include <QStringList>

class QDomElement;
class QXmlStreamWriter;

// Writes a DOM tree as XML text with every element's attributes in a fixed
// order: the order the sequencer's stored formats give (the sequence
// document and the settings element), code-unit order of the names for
// everything else. QDom keeps attributes in a hash whose order changes from
// process to process; projects live in version control, so the same content
// must always give the same bytes and a one-step change a one-line diff.
// Text that XML cannot carry is refused, never written: a file that cannot
// be read back would lock its owner out of the project.
class OrderedXmlWriter
{
public:
    explicit OrderedXmlWriter(QXmlStreamWriter &stream) : stream(stream) {}

    // Writes `element` and everything below it. False, with errorString()
    // naming the element and attribute, when a name or text holds a
    // character XML cannot carry; the stream is then incomplete.
    [[nodiscard]] bool writeElement(const QDomElement &element);
    QString errorString() const { return error; }

    // The names of `element`'s attributes in the order they are written.
    static QStringList attributeOrder(const QDomElement &element);
    // Every attribute a stored format gives for elements named `tagName`, in
    // its order; empty for elements without a format of their own.
    static QStringList formatOrder(const QString &tagName);

    // Whether `name` can name an element or an attribute.
    static bool isName(const QString &name);
    // The refusal of `what` (a name, an attribute, a text) of an element
    // named `tagName`, as errorString() gives it.
    static QString refusal(const QString &tagName, const QString &what);
    // `name` as a message shows it: without control characters.
    static QString shown(QString name);

    // `element` as an indented document of its own.
    [[nodiscard]] static bool toByteArray(const QDomElement &element, QByteArray &bytes,
                                          QString &error);

private:
    bool refuse(const QDomElement &element, const QString &what);

    QXmlStreamWriter &stream;
    QString error;
};
