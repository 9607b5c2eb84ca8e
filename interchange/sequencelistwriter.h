#pragma once

#include "hxsequenceitem.h"

#include <QString>

class CIniFile;

// Puts the entries of a sequence list file into an INI document: the
// SEQUENCE entry of each item, then each item's own section and its
// parameter section. An export places them step by step so that it can
// show its progress; writeAll() does the whole list at once.
//
// Entries are placed with CIniFile::setValue, which replaces a key of the
// same section in place. That is what lets a "Threshold" parameter (visited
// after "Flags") take over the "Threshold" flag entry of its item.
class SequenceListWriter
{
public:
    explicit SequenceListWriter(CIniFile &document) : document(document) {}

    // "ITEM%1=<name>" in SEQUENCE for item `number` (from 1); items of no
    // known kind get no entry but keep their number.
    void placeSequenceEntry(int number, const HxSequenceItem &item);
    // "ITEM%1" with the item's columns and options, then "ITEM%1.EXECPARAMS"
    // with its exportable parameters.
    void placeItemSections(int number, const HxSequenceItem &item);

    // Both passes over a whole list; a null entry keeps its number and
    // writes nothing.
    static void writeAll(CIniFile &document, const HxSequenceItemList &items);

    // The name an item has in SEQUENCE: the operation of an operation item,
    // the column "Item" of application and command items; empty otherwise.
    static QString sequenceName(const HxSequenceItem &item);
    // "1", "0"
    static QString flag(bool on);

private:
    void placeParameters(const QString &section, const QMap<QString, QString> &parameters);

    CIniFile &document;
};
