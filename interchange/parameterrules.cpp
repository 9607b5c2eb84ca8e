#include "parameterrules.h"

#include <QDomDocument>
#include <QFile>

QString ParameterRules::fileName(const QString &startupPath)
{
    if (startupPath.isEmpty())
        return RelativeFileName;
    return startupPath + QLatin1Char('/') + RelativeFileName;
}

void ParameterRules::load(const QString &fileName)
{
    rules.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    loadData(file.readAll());
}

void ParameterRules::loadData(const QByteArray &xml)
{
    rules.clear();
    QDomDocument document(QStringLiteral("ORVSequencerParamRules"));
    if (!document.setContent(xml))
        return;
    const QDomElement root = document.documentElement();
    for (QDomElement element = root.firstChildElement(QStringLiteral("ParamRule"));
         !element.isNull(); element = element.nextSiblingElement(QStringLiteral("ParamRule"))) {
        Rule rule;
        rule.pattern = element.attribute(QStringLiteral("regexp"));
        rule.expression.setPattern(QRegularExpression::anchoredPattern(rule.pattern));
        // Compiled now: an import checks every parameter of every item.
        rule.expression.optimize();
        rules.insert(element.attribute(QStringLiteral("key")), rule);
    }
}

QString ParameterRules::expression(const QString &key) const
{
    return rules.value(key).pattern;
}

bool ParameterRules::isUnrestricted(const QString &key) const
{
    const auto found = rules.constFind(key);
    return found != rules.cend() && found->pattern.isEmpty();
}

bool ParameterRules::accepts(const QString &key, const QString &value) const
{
    const auto found = rules.constFind(key);
    if (found == rules.cend() || found->pattern.isEmpty())
        return true;
    return found->expression.isValid() && found->expression.match(value).hasMatch();
}
