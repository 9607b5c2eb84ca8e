#pragma once

#include "hostlink.h"
#include "parameterrules.h"
#include "sequencelistreader.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Decides which items of a sequence list file go into the sequence: checks
// each against the project (its applications and their operations and Show
// options), the host's instruments, the plug-in's own vocabularies, fifteen
// fixed expressions and the parameter rules file. Every failing check writes
// one red line to the log view; an item with any failure is dropped. One
// validator serves one import.
class ImportValidator
{
    Q_DECLARE_TR_FUNCTIONS(ImportValidator)

public:
    // The fixed expressions, numbered from 1 as they have always been
    // listed. All are case-sensitive and must match a value whole.
    enum Expression : int {
        ItemCondition = 1,
        AllCondition,
        LoopCondition,
        ExitCondition,
        CrcCondition,
        PauseItem,          // the Item column of a PAUSE: "<time-out>,<sound>"
        TimeOut,            // a PAUSE time-out of at most seven digits
        ExitCode,           // command exit codes 0 to 99
        ProcExAction,       // the rest fold indexed keys for the rules file
        ProcExProc,
        ProcExSymbol,
        ProcInAction,
        ProcInProc,
        ProcInSymbol,
        Part,
    };

    struct ExpressionEntry
    {
        Expression id;
        QString pattern;
        // the rules-file key an indexed key folds to (expressions 9 to 15)
        QString foldedKey;
    };

    // The fifteen expressions in their order.
    static const QList<ExpressionEntry> &expressions();

    static const QStringList &controlOperations();
    static const QStringList &commandOperations();
    static const QStringList &flowActions();

    // Reads the rules file below the host's start-up folder ("StartupPath").
    ImportValidator(const HostLink &link, const QString &sequenceTitle);
    ImportValidator(const HostLink &link, const QString &sequenceTitle,
                    const ParameterRules &rules);

    // Runs the checks in order. A missing or unknown kind and an
    // application the project lacks end the checks at once; otherwise every
    // problem of the item is logged before it is refused. An application
    // item that passes gets its application's type.
    bool validate(ImportedItem &imported);

    bool matches(Expression expression, const QString &value) const;
    // An IF or ELIF condition: one of expressions 1 to 5 and a condition the
    // runner can evaluate.
    bool isValidCondition(const QString &condition) const;
    // The key a parameter is looked up with in the rules: "ProcIn7Proc"
    // becomes "ProcIn0Proc", "Part12" becomes "Part0"; others stay.
    static QString foldRuleKey(const QString &key);

    const ParameterRules &parameterRules() const { return rules; }
    // The messages of all failed checks so far, in order.
    const QStringList &messages() const { return failures; }

private:
    struct Context;

    void fail(const QString &message);
    bool checkKind(const Context &context);
    bool checkApplication(Context &context);
    void checkOperation(const Context &context);
    void checkProperty(const Context &context);
    void checkItemColumn(const Context &context);
    void checkShow(const Context &context);
    void checkTimeOut(const Context &context);
    bool checkDefaultAnswer(const Context &context);
    void checkActions(const Context &context);
    void checkExitCodes(const Context &context);
    void checkParameters(const Context &context);
    const QStringList &instruments();
    const QStringList &instrumentsOffering(const QString &action);

    HostLink link;
    QString sequenceTitle;
    ParameterRules rules;
    std::vector<QRegularExpression> compiled;
    QStringList failures;
    bool itemFailed = false;
    // asked once per import
    std::optional<QStringList> allInstruments;
    std::optional<QStringList> resetInstruments;
    std::optional<QStringList> bcuInstruments;
};
