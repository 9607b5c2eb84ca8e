#include "importvalidator.h"

#include "cinifile.h"
#include "sampleprojecthost.h"
#include "outputlog.h"
#include "sequencelistreader.h"

#include <QTime>

#include <gtest/gtest.h>

namespace {

class ImportValidatorTest : public ::testing::Test
{
protected:
    // Validates ITEM1 of a list whose item section is `section` and whose
    // SEQUENCE names it `name`; the messages of the failed checks.
    QStringList failures(const QString &name, const QByteArray &section,
                         const QByteArray &parameters = QByteArray())
    {
        const QByteArray text = "[SEQUENCE]\nITEM1=" + name.toUtf8() + "\n[ITEM1]\n" + section
                                + "\n[ITEM1.EXECPARAMS]\n" + parameters;
        CIniFile document;
        EXPECT_TRUE(document.load(environment.folder.write(QStringLiteral("list.seql"), text)));
        ImportedItem imported = SequenceListReader(document).buildItem(QStringLiteral("ITEM1"));
        ImportValidator validator(environment.link(), QStringLiteral("Board"));
        valid = validator.validate(imported);
        validated = imported.item;
        return validator.messages();
    }

    SampleProjectHost environment;
    bool valid = false;
    HxSequenceItem validated;
};

const QByteArray operation = "ItemType=operation\n";
const QByteArray command = "ItemType=command\n";
const QByteArray application = "ItemType=application\nColumnOperation=Execute Test\n";

} // namespace

TEST_F(ImportValidatorTest, IfAndElifConditions)
{
    struct Case
    {
        const char *condition;
        bool valid;
    };
    const Case cases[] = {
        {"item = pass", true},     {"item=fail", true},       {"item  =  reject", true},
        {"item = error", true},    {"all = pass", true},      {"all = error", true},
        {"loop = 2", true},        {"loop >= 10", true},      {"exit < 3", true},
        {"crc = 0x1234", true},    {"item == pass", false},   {"item = skipped", false},
        {"all = reject", false},   {"ITEM = pass", false},    {"loop => 2", false},
        {"loop <> 2", false},      {"exit >=", false},        {"item = pass now", false},
        {"", false},
    };
    for (const char *keyword : {"IF", "ELIF"}) {
        for (const Case &test : cases) {
            const QStringList messages = failures(QLatin1String(keyword),
                                                  operation + "ColumnProperty=" + test.condition);
            EXPECT_EQ(valid, test.valid) << keyword << " " << test.condition;
            if (!test.valid) {
                ASSERT_EQ(messages.size(), 1) << test.condition;
                EXPECT_EQ(messages.first(),
                          QStringLiteral("ORV Sequencer 'Board' - 'ITEM1': 'ColumnProperty' value "
                                         "('%1') of '%2' is invalid")
                              .arg(QString::fromLatin1(test.condition).trimmed(),
                                   QLatin1String(keyword)));
            }
        }
    }
}

TEST_F(ImportValidatorTest, EachRuleOfTheFileFormat)
{
    struct Case
    {
        const char *name;
        QString sequenceName;
        QByteArray section;
        QByteArray parameters;
        QStringList messages;   // empty: the item passes
    };
    const QString prefix = QStringLiteral("ORV Sequencer 'Board' - 'ITEM1': ");
    const std::vector<Case> cases = {
        {"no kind", QStringLiteral("Chain"), "ColumnOperation=Execute Test", {},
         {prefix + QStringLiteral("'ItemType' value must be present")}},
        {"unknown kind stops at once", QStringLiteral("Chain"),
         "ItemType=step\nPassAction=Jump", {},
         {prefix + QStringLiteral("'ItemType' value is invalid")}},
        {"application not in the project stops at once", QStringLiteral("Ghost"),
         application + "ColumnProperty=x", {},
         {prefix + QStringLiteral("Application 'Ghost' not found in current project")}},
        {"application passes", QStringLiteral("Chain"), application + "ColumnShow=Diagnostics", {}, {}},
        {"application without operation", QStringLiteral("Chain"), "ItemType=application", {},
         {prefix + QStringLiteral("'ColumnOperation' value of 'Chain' can't be empty")}},
        {"operation the application lacks", QStringLiteral("Flash"),
         "ItemType=application\nColumnOperation=Test Infrastructure", {},
         {prefix + QStringLiteral("'ColumnOperation' value ('Test Infrastructure') of 'Flash' is invalid")}},
        {"forced outcomes belong to every application", QStringLiteral("Flash"),
         "ItemType=application\nColumnOperation=Skip Operation", {}, {}},
        {"show the application lacks, and a property", QStringLiteral("Flash"),
         application + "ColumnShow=Diagnostics\nColumnProperty=x", {},
         {prefix + QStringLiteral("'ColumnProperty' value of 'Flash' must be empty"),
          prefix + QStringLiteral("'ColumnShow' value ('Diagnostics') of 'Flash' is invalid")}},
        {"every bad action is named", QStringLiteral("Chain"),
         application + "PassAction=Jump\nSyseAction=next", {},
         {prefix + QStringLiteral("'PassAction' value ('Jump') of 'Chain' is invalid"),
          prefix + QStringLiteral("'SyseAction' value ('next') of 'Chain' is invalid")}},
        {"command operations", QStringLiteral("Stamp"), command + "ColumnOperation=Force Fail", {}, {}},
        {"unknown command operation", QStringLiteral("Stamp"),
         command + "ColumnOperation=Execute Test", {},
         {prefix + QStringLiteral("'ColumnOperation' value ('Execute Test') of 'Stamp' is invalid")}},
        {"command shows only its status", QStringLiteral("Stamp"), command + "ColumnShow=Report", {},
         {prefix + QStringLiteral("'ColumnShow' value ('Report') of 'Stamp' is invalid")}},
        {"fail exit code of 100", QStringLiteral("Stamp"), command + "SeqCommandFailExitCode=100", {},
         {prefix + QStringLiteral("'SeqCommandFailExitCode' value of 'Stamp' is invalid")}},
        {"exit codes of 99 and 0", QStringLiteral("Stamp"),
         command + "SeqCommandFailExitCode=99\nSeqCommandPassExitCode=0", {}, {}},
        {"negative pass exit code", QStringLiteral("Stamp"), command + "SeqCommandPassExitCode=-1", {},
         {prefix + QStringLiteral("'SeqCommandPassExitCode' value of 'Stamp' is invalid")}},
        {"unknown operation", QStringLiteral("WAIT"), operation, {},
         {prefix + QStringLiteral("'ColumnOperation' value ('WAIT') is invalid")}},
        {"operation names are exact", QStringLiteral("print"), operation, {},
         {prefix + QStringLiteral("'ColumnOperation' value ('print') is invalid")}},
        {"operations show only their status", QStringLiteral("ENDIF"), operation + "ColumnShow=Report", {},
         {prefix + QStringLiteral("'ColumnShow' value ('Report') of 'ENDIF' is invalid")}},
        {"GOTO needs a label", QStringLiteral("GOTO"), operation, {},
         {prefix + QStringLiteral("'ColumnProperty' value of 'GOTO' can't be empty")}},
        {"LABEL with a name", QStringLiteral("LABEL"), operation + "ColumnProperty=start", {}, {}},
        {"Print takes no property", QStringLiteral("Print"), operation + "ColumnProperty=x", {},
         {prefix + QStringLiteral("'ColumnProperty' value of 'Print' must be empty")}},
        {"ELSE takes anything", QStringLiteral("ELSE"), operation + "ColumnProperty=whatever", {}, {}},
        {"Reset on the preferred instrument", QStringLiteral("Reset"),
         operation + "ColumnProperty=Preferred", {}, {}},
        {"Reset on an instrument that resets", QStringLiteral("Reset"),
         operation + "ColumnProperty=BCU-2", {}, {}},
        {"I/O pins need an instrument with pins", QStringLiteral("Read/Test/Write IO Pins"),
         operation + "ColumnProperty=BCU-2", {},
         {prefix + QStringLiteral("'ColumnProperty' value ('BCU-2') of 'Read/Test/Write IO Pins' is "
                                  "not a valid instrument")}},
        {"I/O pin actions are checked", QStringLiteral("Read/Test/Write IO Pins"),
         operation + "ColumnProperty=BCU-1\nFailAction=Back", {},
         {prefix + QStringLiteral("'FailAction' value ('Back') of 'Read/Test/Write IO Pins' is invalid")}},
        {"other operations keep any action", QStringLiteral("ENDIF"), operation + "FailAction=Back", {}, {}},
        {"pause with a seven-digit time-out", QStringLiteral("PAUSE"),
         operation + "ColumnItem=9999999,\nTimeOut=9999999", {}, {}},
        {"pause with an eight-digit time-out", QStringLiteral("PAUSE"),
         operation + "ColumnItem=12345678,\nTimeOut=12345678", {},
         {prefix + QStringLiteral("'TimeOut' value of 'PAUSE' is invalid")}},
        {"pause with a negative time-out", QStringLiteral("PAUSE"), operation + "TimeOut=-5", {},
         {prefix + QStringLiteral("'TimeOut' value of 'PAUSE' is invalid")}},
        {"pause item must begin with its time-out", QStringLiteral("PAUSE"),
         operation + "ColumnItem=beep.wav", {},
         {prefix + QStringLiteral("'ColumnItem' value ('beep.wav') of 'PAUSE' is invalid")}},
        {"pause item with a sound", QStringLiteral("PAUSE"), operation + "ColumnItem=5000 , beep.wav",
         {}, {}},
        {"pause default answer 2 is refused without a line", QStringLiteral("PAUSE"),
         operation + "PauseMessageDefaultAnswer=2", {}, {}},
    };
    for (const Case &test : cases) {
        const QStringList messages = failures(test.sequenceName, test.section, test.parameters);
        EXPECT_EQ(messages, test.messages) << test.name;
        const bool refusedSilently = QByteArray(test.name).contains("without a line");
        EXPECT_EQ(valid, test.messages.isEmpty() && !refusedSilently) << test.name;
    }
}

TEST_F(ImportValidatorTest, ParametersGoThroughTheInstrumentAndThenTheRules)
{
    const QString prefix = QStringLiteral("ORV Sequencer 'Board' - 'ITEM1': ");
    struct Case
    {
        const char *name;
        QByteArray parameters;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"the preferred instrument", "InstrumentName=Preferred\n", {}},
        {"an instrument of the project", "InstrumentName=BCU-2\n", {}},
        {"an instrument the project lacks", "InstrumentName=BCU-9\n",
         {prefix + QStringLiteral("'InstrumentName' value of 'BCU-9' is invalid")}},
        {"a rule that matches", "UseDefaultsPod=yes\n", {}},
        {"a rule that does not", "UseDefaultsPod=maybe\n",
         {prefix + QStringLiteral("'UseDefaultsPod' value of 'maybe' is invalid")}},
        {"indexed keys fold to index 0", "ProcIn7Proc=do_program\nPart12=x\n",
         {prefix + QStringLiteral("'Part12' value of 'x' is invalid"),
          prefix + QStringLiteral("'ProcIn7Proc' value of 'do_program' is invalid")}},
        {"a key without a rule", "Anything=goes\n", {}},
        {"the instrument refuses a gang it cannot have", "Gang=20\n",
         {prefix + QStringLiteral("'Gang' value of '20' is invalid")}},
        {"the instrument refuses a level that is no number", "Level=high\n",
         {prefix + QStringLiteral("'Level' value of 'high' is invalid")}},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(failures(QStringLiteral("Chain"), application, test.parameters), test.messages)
            << test.name;
    }
}

TEST_F(ImportValidatorTest, WithoutTheInstrumentCheckNoParameterIsChecked)
{
    // Without a project the host offers no instrument check; the import of
    // an operation step then takes any parameter.
    environment.host.setProject(nullptr);
    EXPECT_TRUE(failures(QStringLiteral("ENDIF"), operation, "UseDefaultsPod=maybe\n").isEmpty());
    EXPECT_TRUE(valid);
}

TEST_F(ImportValidatorTest, AnApplicationItemTakesItsApplicationsType)
{
    failures(QStringLiteral("Chain"), application);
    EXPECT_TRUE(valid);
    EXPECT_EQ(validated.columnType, QStringLiteral("Chain Integrity Test"));
    EXPECT_EQ(validated.applicationClass, 3);
}

TEST(OutputLogTest, AnItemRemovedLineIsRedAndEscaped)
{
    // the log is HTML: what a user typed is shown, never taken as markup
    EXPECT_EQ(OutputLog::itemRemovedLine(QStringLiteral("'<b>' & co"), QTime(9, 5, 7)),
              QStringLiteral("<font color=\"#EF0000\">09:05:07: <b>'&lt;b&gt;' &amp; co</b></font>"
                             "<font color=\"#000000\">(item removed from sequence)</font>"));
}

TEST(ImportValidatorRulesTest, FoldingUsesTheExpressionsOfTheTable)
{
    struct Case
    {
        const char *key;
        const char *folded;
    };
    const Case cases[] = {
        {"ProcEx3Action", "ProcEx0Action"}, {"ProcEx12Proc", "ProcEx0Proc"},
        {"ProcEx0Symbol", "ProcEx0Symbol"}, {"ProcIn5Action", "ProcIn0Action"},
        {"ProcIn5Proc", "ProcIn0Proc"},     {"ProcIn99Symbol", "ProcIn0Symbol"},
        {"Part7", "Part0"},                 {"ProcsIncluded", "ProcsIncluded"},
        {"ProcInAction", "ProcInAction"},   {"ProcIn5Actions", "ProcIn5Actions"},
        {"Part", "Part"},                   {"Part1x", "Part1x"},
        {"MyPart1", "MyPart1"},             {"procIn1Proc", "procIn1Proc"},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(ImportValidator::foldRuleKey(QLatin1String(test.key)), QLatin1String(test.folded))
            << test.key;
    }
}
