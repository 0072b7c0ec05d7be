#include "core/checkrules.h"

#include <QFile>
#include <QRegularExpression>

QList<CheckRule> checkRulesOf(QStringView markdown)
{
    static const QRegularExpression heading(QStringLiteral("^## ([EWI])(\\d+) (.+)$"));
    QList<CheckRule> rules;
    for (const QStringView line : markdown.split(u'\n')) {
        if (line.startsWith(u"## ")) {
            const QRegularExpressionMatch match = heading.match(line.trimmed());
            if (!match.hasMatch()) {
                rules.append(CheckRule{});   // a heading of another kind ends the rule before it
                continue;
            }
            const QChar letter = match.capturedView(1).front();
            rules.append(CheckRule{match.captured(1) + match.captured(2),
                          letter == u'E' ? Severity::Error : letter == u'W' ? Severity::Warning : Severity::Info,
                          match.captured(3), QString()});
        } else if (line.startsWith(u"# ")) {
            rules.append(CheckRule{});
        } else if (!rules.isEmpty() && !rules.last().code.isEmpty()) {
            rules.last().description += line.toString() + u'\n';
        }
    }
    rules.removeIf([](const CheckRule &rule) { return rule.code.isEmpty(); });
    for (CheckRule &rule : rules)
        rule.description = rule.description.trimmed();
    return rules;
}

const QList<CheckRule> &checkRules()
{
    static const QList<CheckRule> rules = [] {
        QFile file(QStringLiteral(":/docs/checks.md"));
        return file.open(QIODevice::ReadOnly) ? checkRulesOf(QString::fromUtf8(file.readAll())) : QList<CheckRule>();
    }();
    return rules;
}
