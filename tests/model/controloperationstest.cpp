#include "controloperations.h"

#include <gtest/gtest.h>

using namespace ControlOperations;

namespace {

struct OperationRow
{
    int code;
    const char *name;
    const char *caption;
    const char *defaultItem;
};

const OperationRow operationRows[] = {
    {0, "PAUSE", "Pause / Display Message", "0,"},
    {4, "LABEL", "Label / Comment", ","},
    {5, "IF", "IF <condition>", ","},
    {6, "ELSE", "ELSE", ","},
    {7, "ELIF", "ELIF <condition>", ","},
    {8, "ENDIF", "ENDIF", ","},
    {9, "GOTO", "GOTO", ","},
    {10, "Print", "Print report", ""},
    {11, "Export", "Export report", ""},
    {12, "Reset", "Reset Instrument", "Reset"},
    {13, "Read/Test/Write IO Pins", "Read/Test/Write IO Pins", ""},
};

} // namespace

TEST(ControlOperations, CodesNamesCaptionsAndDefaultItems)
{
    for (const OperationRow &row : operationRows) {
        const QString name = QString::fromLatin1(row.name);
        EXPECT_EQ(controlOperationCode(name), row.code) << row.name;
        EXPECT_EQ(controlOperationName(row.code), name) << row.code;
        EXPECT_EQ(controlOperationCaption(name), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(controlOperationCaption(row.code), QString::fromLatin1(row.caption)) << row.code;
        EXPECT_EQ(defaultControlItem(name), QString::fromLatin1(row.defaultItem)) << row.name;
        EXPECT_TRUE(isControlOperation(name)) << row.name;
    }
}

TEST(ControlOperations, CodesWithoutAnOperation)
{
    // 14 selects an instrument in legacy files; it is never a step.
    for (int code : {-1, 1, 2, 3, 14, 15, 100}) {
        EXPECT_TRUE(controlOperationName(code).isEmpty()) << code;
        EXPECT_TRUE(controlOperationCaption(code).isEmpty()) << code;
    }
}

TEST(ControlOperations, UnknownNames)
{
    // Lookups are exact; an unknown name has code 0, like PAUSE.
    for (const char *name : {"", "pause", "Pause", "If", "PAUSE ", "Label / Comment",
                             "Print report", "Select Instrument", "Read/Test/Write IO pins"}) {
        const QString text = QString::fromLatin1(name);
        EXPECT_EQ(controlOperationCode(text), 0) << name;
        EXPECT_TRUE(controlOperationCaption(text).isEmpty()) << name;
        EXPECT_FALSE(isControlOperation(text)) << name;
        EXPECT_EQ(defaultControlItem(text), QStringLiteral(",")) << name;
    }
}

TEST(ControlOperations, NameListIsInCodeOrder)
{
    QStringList expected;
    for (const OperationRow &row : operationRows)
        expected.append(QString::fromLatin1(row.name));
    EXPECT_EQ(controlOperationNames(), expected);
}
