#include "importvalidator.h"

#include "applicationoperations.h"
#include "applicationtypes.h"
#include "condition.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "hostservice.h"
#include "hxidatabase.h"
#include "hxiinstrument.h"
#include "hxiinstrumentmanip.h"
#include "hxiprojectapplications.h"
#include "outputlog.h"

using namespace VemoInterface;

namespace {

using Kind = ImportedItem::Kind;
namespace Operation = ControlOperations;

const QString ExecReset = QStringLiteral("ExecReset");
const QString ExecBcu = QStringLiteral("ExecBcu");

} // namespace

struct ImportValidator::Context
{
    ImportedItem &imported;
    HxSequenceItem &item;
    ApplicationOperations application;   // filled for application items

    Kind kind() const { return imported.kind; }
    const QString &key() const { return imported.key; }
    const QString &operation() const { return item.columnOperation; }
    // What a message names the item by: its operation for operation items,
    // else its application or command.
    const QString &subject() const
    {
        return kind() == Kind::Operation ? item.columnOperation : item.columnItem;
    }
};

const QList<ImportValidator::ExpressionEntry> &ImportValidator::expressions()
{
    static const QList<ExpressionEntry> table = {
        {ItemCondition, QStringLiteral("item\\s*=\\s*(pass|fail|error|reject)"), QString()},
        {AllCondition, QStringLiteral("all\\s*=\\s*(pass|fail|error)"), QString()},
        {LoopCondition, QStringLiteral("loop\\s*(=|>|<|<=|>=)\\s*\\S+"), QString()},
        {ExitCondition, QStringLiteral("exit\\s*(=|>|<|<=|>=)\\s*\\S+"), QString()},
        {CrcCondition, QStringLiteral("crc\\s*(=|>|<|<=|>=)\\s*\\S+"), QString()},
        {PauseItem, QStringLiteral("\\d+\\s*\\,?.*"), QString()},
        {TimeOut, QStringLiteral("[0-9]{0,7}"), QString()},
        {ExitCode, QStringLiteral("[0-9]{0,2}"), QString()},
        {ProcExAction, QStringLiteral("ProcEx(\\d+)Action"), QStringLiteral("ProcEx0Action")},
        {ProcExProc, QStringLiteral("ProcEx(\\d+)Proc"), QStringLiteral("ProcEx0Proc")},
        {ProcExSymbol, QStringLiteral("ProcEx(\\d+)Symbol"), QStringLiteral("ProcEx0Symbol")},
        {ProcInAction, QStringLiteral("ProcIn(\\d+)Action"), QStringLiteral("ProcIn0Action")},
        {ProcInProc, QStringLiteral("ProcIn(\\d+)Proc"), QStringLiteral("ProcIn0Proc")},
        {ProcInSymbol, QStringLiteral("ProcIn(\\d+)Symbol"), QStringLiteral("ProcIn0Symbol")},
        {Part, QStringLiteral("Part(\\d+)"), QStringLiteral("Part0")},
    };
    return table;
}

namespace {

// Compiled once for the whole program: folding runs for every parameter.
const std::vector<QRegularExpression> &compiledExpressions()
{
    static const std::vector<QRegularExpression> compiled = [] {
        std::vector<QRegularExpression> result;
        for (const ImportValidator::ExpressionEntry &entry : ImportValidator::expressions()) {
            QRegularExpression expression(QRegularExpression::anchoredPattern(entry.pattern));
            expression.optimize();
            result.push_back(expression);
        }
        return result;
    }();
    return compiled;
}

} // namespace

const QStringList &ImportValidator::controlOperations()
{
    static const QStringList names = {Operation::If,    Operation::Else,  Operation::Elif,
                                      Operation::EndIf, Operation::Goto,  Operation::Label,
                                      Operation::Pause, Operation::Print, Operation::Export,
                                      Operation::Reset, Operation::IoPins};
    return names;
}

const QStringList &ImportValidator::commandOperations()
{
    static const QStringList names = {ApplicationTypes::ExecuteCommand, ApplicationTypes::ForcePass,
                                      ApplicationTypes::ForceFail, ApplicationTypes::SkipOperation};
    return names;
}

const QStringList &ImportValidator::flowActions()
{
    static const QStringList names = {QStringLiteral("Next"), QStringLiteral("Prev"),
                                      QStringLiteral("Stop"), QStringLiteral("Redo")};
    return names;
}

ImportValidator::ImportValidator(const HostLink &link, const QString &sequenceTitle)
    : link(link), sequenceTitle(sequenceTitle), compiled(compiledExpressions())
{
    rules.load(ParameterRules::fileName(link.mainValue(QStringLiteral("StartupPath"))));
}

ImportValidator::ImportValidator(const HostLink &link, const QString &sequenceTitle,
                                 const ParameterRules &rules)
    : link(link), sequenceTitle(sequenceTitle), rules(rules), compiled(compiledExpressions())
{
}

bool ImportValidator::matches(Expression expression, const QString &value) const
{
    const int index = int(expression) - 1;
    if (index < 0 || index >= int(compiled.size()))
        return false;
    return compiled[size_t(index)].match(value).hasMatch();
}

bool ImportValidator::isValidCondition(const QString &condition) const
{
    bool matched = false;
    for (Expression expression :
         {ItemCondition, AllCondition, LoopCondition, ExitCondition, CrcCondition})
        matched = matched || matches(expression, condition);
    // The expressions allow what the runner could not evaluate ("LOOP"
    // keywords in capitals are its business, not theirs); both must agree.
    return matched && Condition::isValidCondition(condition);
}

QString ImportValidator::foldRuleKey(const QString &key)
{
    const auto &table = expressions();
    const auto &patterns = compiledExpressions();
    if (key.startsWith(QLatin1String("Proc"))) {
        for (Expression expression :
             {ProcExAction, ProcExProc, ProcExSymbol, ProcInAction, ProcInProc, ProcInSymbol}) {
            const size_t index = size_t(expression) - 1;
            if (patterns[index].match(key).hasMatch())
                return table.at(qsizetype(index)).foldedKey;
        }
    }
    const size_t partIndex = size_t(Part) - 1;
    if (patterns[partIndex].match(key).hasMatch())
        return table.at(qsizetype(partIndex)).foldedKey;
    return key;
}

void ImportValidator::fail(const QString &message)
{
    itemFailed = true;
    failures.append(message);
    OutputLog(link).itemRemoved(message);
}

const QStringList &ImportValidator::instruments()
{
    if (!allInstruments) {
        HostService<HxiInstrument> service(link, QStringLiteral("HxiInstrument"));
        allInstruments = service ? service->instruments() : QStringList();
    }
    return *allInstruments;
}

const QStringList &ImportValidator::instrumentsOffering(const QString &action)
{
    std::optional<QStringList> &list = action == ExecReset ? resetInstruments : bcuInstruments;
    if (!list) {
        HostService<HxiInstrument> service(link, QStringLiteral("HxiInstrument"));
        list = service ? service->instrumentsOffering(action) : QStringList();
    }
    return *list;
}

bool ImportValidator::validate(ImportedItem &imported)
{
    itemFailed = false;
    Context context{imported, imported.item, {}};
    if (!checkKind(context))
        return false;
    if (context.kind() == Kind::Application && !checkApplication(context))
        return false;
    checkOperation(context);
    checkProperty(context);
    checkItemColumn(context);
    checkShow(context);
    checkTimeOut(context);
    const bool answerValid = checkDefaultAnswer(context);
    checkActions(context);
    checkExitCodes(context);
    checkParameters(context);
    return !itemFailed && answerValid;
}

bool ImportValidator::checkKind(const Context &context)
{
    if (context.kind() == Kind::None) {
        //: %1 = Sequence Title, %2 = Item Key
        fail(tr("ORV Sequencer '%1' - '%2': 'ItemType' value must be present")
                 .arg(sequenceTitle, context.key()));
        return false;
    }
    if (context.kind() == Kind::Invalid) {
        //: %1 = Sequence Title, %2 = Item Key
        fail(tr("ORV Sequencer '%1' - '%2': 'ItemType' value is invalid")
                 .arg(sequenceTitle, context.key()));
        return false;
    }
    return true;
}

bool ImportValidator::checkApplication(Context &context)
{
    HxSequenceItem &item = context.item;
    std::optional<VemoDatabase::HxApplication> application;
    if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database) {
        if (HxiProjectApplications *applications = database->applications()) {
            application = applications->application(item.columnItem);
            applications->release();
        }
    }
    if (!application) {
        //: %1 = Sequence Title, %2 = Item Key, %3 = Application
        fail(tr("ORV Sequencer '%1' - '%2': Application '%3' not found in current project")
                 .arg(sequenceTitle, context.key(), item.columnItem));
        return false;
    }
    item.columnType = application->type();
    item.applicationClass =
        ApplicationTypes::applicationClass(item.columnType, item.columnOperation);
    context.application = ApplicationOperations::query(link, item);
    return true;
}

void ImportValidator::checkOperation(const Context &context)
{
    const QString &operation = context.operation();
    const QString &item = context.item.columnItem;
    //: %1 = Sequence Title, %2 = Item Key, %3 = Operation, %4 = Item
    const QString invalid = tr("ORV Sequencer '%1' - '%2': 'ColumnOperation' value ('%3') of '%4' "
                               "is invalid")
                                .arg(sequenceTitle, context.key(), operation, item);
    switch (context.kind()) {
    case Kind::Application:
        if (operation.isEmpty()) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Item
            fail(tr("ORV Sequencer '%1' - '%2': 'ColumnOperation' value of '%3' can't be empty")
                     .arg(sequenceTitle, context.key(), item));
        } else if (!context.application.operations.contains(operation)) {
            fail(invalid);
        }
        break;
    case Kind::Command:
        if (!commandOperations().contains(operation))
            fail(invalid);
        break;
    case Kind::Operation:
        if (!controlOperations().contains(operation)) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Operation
            fail(tr("ORV Sequencer '%1' - '%2': 'ColumnOperation' value ('%3') is invalid")
                     .arg(sequenceTitle, context.key(), operation));
        }
        break;
    default:
        break;
    }
}

void ImportValidator::checkProperty(const Context &context)
{
    const QString &property = context.item.columnProperty;
    const QString &operation = context.operation();
    const auto mustBeEmpty = [&](const QString &subject) {
        if (!property.isEmpty()) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Item or Operation
            fail(tr("ORV Sequencer '%1' - '%2': 'ColumnProperty' value of '%3' must be empty")
                     .arg(sequenceTitle, context.key(), subject));
        }
    };
    const auto mustBeInstrument = [&](const QString &action) {
        if (property == QLatin1String("Preferred") || instrumentsOffering(action).contains(property))
            return;
        //: %1 = Sequence Title, %2 = Item Key, %3 = Instrument, %4 = Operation
        fail(tr("ORV Sequencer '%1' - '%2': 'ColumnProperty' value ('%3') of '%4' is not a valid "
                "instrument")
                 .arg(sequenceTitle, context.key(), property, operation));
    };

    if (context.kind() == Kind::Application || context.kind() == Kind::Command) {
        mustBeEmpty(context.item.columnItem);
        return;
    }
    if (operation == Operation::If || operation == Operation::Elif) {
        if (!isValidCondition(property)) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Condition, %4 = Operation
            fail(tr("ORV Sequencer '%1' - '%2': 'ColumnProperty' value ('%3') of '%4' is invalid")
                     .arg(sequenceTitle, context.key(), property, operation));
        }
    } else if (operation == Operation::Goto || operation == Operation::Label) {
        if (property.isEmpty()) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Operation
            fail(tr("ORV Sequencer '%1' - '%2': 'ColumnProperty' value of '%3' can't be empty")
                     .arg(sequenceTitle, context.key(), operation));
        }
    } else if (operation == Operation::Print || operation == Operation::Export) {
        mustBeEmpty(operation);
    } else if (operation == Operation::Reset) {
        mustBeInstrument(ExecReset);
    } else if (operation == Operation::IoPins) {
        mustBeInstrument(ExecBcu);
    }
}

void ImportValidator::checkItemColumn(const Context &context)
{
    if (context.operation() != Operation::Pause || matches(PauseItem, context.item.columnItem))
        return;
    //: %1 = Sequence Title, %2 = Item Key, %3 = Item, %4 = Operation
    fail(tr("ORV Sequencer '%1' - '%2': 'ColumnItem' value ('%3') of '%4' is invalid")
             .arg(sequenceTitle, context.key(), context.item.columnItem, context.operation()));
}

void ImportValidator::checkShow(const Context &context)
{
    const QString &show = context.item.columnShow;
    const bool valid = context.kind() == Kind::Application
                           ? context.application.showOptions.contains(show)
                           : show == ApplicationTypes::ShowStatus;
    if (valid)
        return;
    //: %1 = Sequence Title, %2 = Item Key, %3 = Show, %4 = Item or Operation
    fail(tr("ORV Sequencer '%1' - '%2': 'ColumnShow' value ('%3') of '%4' is invalid")
             .arg(sequenceTitle, context.key(), show, context.subject()));
}

void ImportValidator::checkTimeOut(const Context &context)
{
    if (context.operation() != Operation::Pause
        || matches(TimeOut, QString::number(context.item.timeOut)))
        return;
    //: %1 = Sequence Title, %2 = Item Key, %3 = Operation
    fail(tr("ORV Sequencer '%1' - '%2': 'TimeOut' value of '%3' is invalid")
             .arg(sequenceTitle, context.key(), context.operation()));
}

bool ImportValidator::checkDefaultAnswer(const Context &context)
{
    // Refused without a line of its own: no dialog can produce another value.
    const int answer = context.item.pauseMessageDefaultAnswer;
    return answer == 0 || answer == 1;
}

void ImportValidator::checkActions(const Context &context)
{
    const bool hasActions = context.kind() == Kind::Application
                            || context.kind() == Kind::Command
                            || (context.kind() == Kind::Operation
                                && context.operation() == Operation::IoPins);
    if (!hasActions)
        return;
    const HxSequenceItem &item = context.item;
    const auto check = [&](const QString &value, const QString &message) {
        if (!flowActions().contains(value))
            fail(message.arg(sequenceTitle, context.key(), value, context.subject()));
    };
    //: %1 = Sequence Title, %2 = Item Key, %3 = Action, %4 = Item or Operation
    check(item.passAction, tr("ORV Sequencer '%1' - '%2': 'PassAction' value ('%3') of '%4' is invalid"));
    //: %1 = Sequence Title, %2 = Item Key, %3 = Action, %4 = Item or Operation
    check(item.failAction, tr("ORV Sequencer '%1' - '%2': 'FailAction' value ('%3') of '%4' is invalid"));
    //: %1 = Sequence Title, %2 = Item Key, %3 = Action, %4 = Item or Operation
    check(item.rejectAction,
          tr("ORV Sequencer '%1' - '%2': 'RejectAction' value ('%3') of '%4' is invalid"));
    //: %1 = Sequence Title, %2 = Item Key, %3 = Action, %4 = Item or Operation
    check(item.systemErrorAction,
          tr("ORV Sequencer '%1' - '%2': 'SyseAction' value ('%3') of '%4' is invalid"));
}

void ImportValidator::checkExitCodes(const Context &context)
{
    if (context.kind() != Kind::Command)
        return;
    const SequenceCommand &command = context.item.command;
    if (!matches(ExitCode, QString::number(command.failExitCode()))) {
        //: %1 = Sequence Title, %2 = Item Key, %3 = Item
        fail(tr("ORV Sequencer '%1' - '%2': 'SeqCommandFailExitCode' value of '%3' is invalid")
                 .arg(sequenceTitle, context.key(), context.item.columnItem));
    }
    if (!matches(ExitCode, QString::number(command.passExitCode()))) {
        //: %1 = Sequence Title, %2 = Item Key, %3 = Item
        fail(tr("ORV Sequencer '%1' - '%2': 'SeqCommandPassExitCode' value of '%3' is invalid")
                 .arg(sequenceTitle, context.key(), context.item.columnItem));
    }
}

void ImportValidator::checkParameters(const Context &context)
{
    HostService<HxiInstrumentManip> check(link, QStringLiteral("HxiInstrumentManip"));
    if (!check)
        return;
    const auto &parameters = context.item.parameters;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        const QString &key = it.key();
        const QString &value = it.value();
        const int answer = check->checkParameter(key, value);
        const auto invalid = [&] {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Parameter, %4 = Value
            fail(tr("ORV Sequencer '%1' - '%2': '%3' value of '%4' is invalid")
                     .arg(sequenceTitle, context.key(), key, value));
        };
        if (answer == HxiInstrumentManip::ParameterInvalid) {
            invalid();
            continue;
        }
        // Anything but "not an instrument parameter" is the host's to accept.
        if (answer != HxiInstrumentManip::NotAnInstrumentParameter
            || ExecutionParameters::isInternalParameter(key))
            continue;
        const QString ruleKey = foldRuleKey(key);
        if (!rules.hasRule(ruleKey))
            continue;
        if (!rules.isUnrestricted(ruleKey)) {
            if (!rules.accepts(ruleKey, value))
                invalid();
            continue;
        }
        if (key == ExecutionParameters::Key::InstrumentName
            && value != ExecutionParameters::Value::Preferred && !instruments().contains(value)) {
            //: %1 = Sequence Title, %2 = Item Key, %3 = Instrument
            fail(tr("ORV Sequencer '%1' - '%2': 'InstrumentName' value of '%3' is invalid")
                     .arg(sequenceTitle, context.key(), value));
        }
    }
}
