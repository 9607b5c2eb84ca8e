#pragma once

#include "hxiunknown.h"

class QString;
class QXmlStreamReader;
class QXmlStreamWriter;

namespace VemoInterface {

// Offered by a plug-in beside HxiDatabasePersist: its part of the project
// document read from and written into the host's XML stream, without a DOM
// of it. A host that finds it uses it instead of HxiDatabasePersist; both
// give the same file, byte for byte.
class HxiDatabasePersistStream : public HxiUnknown
{
public:
    // slot 3: the host has written the start tag of the plug-in's element
    // and its "name" attribute; the plug-in writes its own attributes (their
    // names sort after "name") and its content, not the end tag. False, with
    // `problem` naming the element and attribute, when a name or text holds
    // a character XML cannot carry; the host then discards what was written.
    virtual bool saveTo(QXmlStreamWriter &writer, QString &problem) = 0;
    // slot 4: `reader` stands on the start tag of the plug-in's element,
    // which the host has found well-formed; the plug-in reads up to and
    // including its end tag. When the reader reads from a QBuffer, the
    // plug-in may keep the buffer's data (a shared copy) to read parts of
    // it later, so the host hands over data it owns, never raw data. When
    // the buffer holds nothing but the plug-in's element, the plug-in may
    // find its content in the data instead and leave the reader on the
    // start tag: nothing follows that the host would read.
    virtual bool loadFrom(QXmlStreamReader &reader) = 0;

protected:
    ~HxiDatabasePersistStream() = default;
};

} // namespace VemoInterface
