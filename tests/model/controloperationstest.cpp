#include "controloperations.h"

#include <gtest/gtest.h>

using namespace ControlOperations;

TEST(ControlOperations, NamesCodesAndCaptionsAgree)
{
    int previous = -1;
    for (const QString &name : controlOperationNames()) {
        const int code = controlOperationCode(name);
        EXPECT_GT(code, previous) << "listed in code order: " << name.toStdString();
        previous = code;
        EXPECT_EQ(controlOperationName(code), name);
        EXPECT_FALSE(controlOperationCaption(name).isEmpty()) << name.toStdString();
        EXPECT_EQ(controlOperationCaption(code), controlOperationCaption(name));
    }
}

TEST(ControlOperations, UnknownCodesAndNames)
{
    // 14 selects an instrument in legacy files; it is never a step.
    for (int code : {-1, 1, 3, 14}) {
        EXPECT_TRUE(controlOperationName(code).isEmpty()) << code;
        EXPECT_TRUE(controlOperationCaption(code).isEmpty()) << code;
    }
    // Lookups are exact; an unknown name has code 0, like PAUSE.
    for (const char *name : {"", "pause", "PAUSE ", "Label / Comment", "Read/Test/Write IO pins"}) {
        const QString text = QString::fromLatin1(name);
        EXPECT_EQ(controlOperationCode(text), 0) << name;
        EXPECT_TRUE(controlOperationCaption(text).isEmpty()) << name;
        EXPECT_EQ(defaultControlItem(text), QStringLiteral(",")) << name;
    }
}
