#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QString>

class QByteArray;

// The parameter rules file "plugins/ORVSequencerParamRules.xml" below the
// host's start-up folder: a regular expression per parameter key that an
// imported value must match whole (case-sensitive).
//
//   <ORVSequencerParamRules>
//     <ParamRule key="UseDefaultsPod" regexp="yes|no"/>
//     <ParamRule key="InstrumentName" regexp=""/>
//   </ORVSequencerParamRules>
//
// The root element's name is not checked; children other than ParamRule
// are skipped; a later rule for a key replaces an earlier one. Keys are
// written in their folded form (see ImportValidator::foldRuleKey). An empty
// or missing expression is a rule without a restriction. An expression that
// does not compile is kept and matches nothing, so a typo in the file shows
// as refused values instead of letting everything through.
class ParameterRules
{
public:
    static inline const QString RelativeFileName =
        QStringLiteral("plugins/ORVSequencerParamRules.xml");

    // "<startupPath>/plugins/ORVSequencerParamRules.xml", or the relative
    // name when the host reports no start-up folder.
    static QString fileName(const QString &startupPath);

    // Replaces the rules with the file's. A missing, unreadable or damaged
    // file leaves no rules and is not an error anyone is told about.
    void load(const QString &fileName);
    void loadData(const QByteArray &xml);

    bool isEmpty() const { return rules.isEmpty(); }
    qsizetype count() const { return rules.size(); }
    bool hasRule(const QString &key) const { return rules.contains(key); }
    // the expression as written; empty for no rule or no restriction
    QString expression(const QString &key) const;
    // Whether `value` passes the rule of `key`: true without a rule and for
    // a rule without a restriction.
    bool accepts(const QString &key, const QString &value) const;
    // A rule exists and has no restriction.
    bool isUnrestricted(const QString &key) const;

private:
    struct Rule
    {
        QString pattern;                // as written; empty: no restriction
        QRegularExpression expression;  // the pattern anchored at both ends
    };
    QHash<QString, Rule> rules;
};
