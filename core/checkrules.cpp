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
            rules.append(CheckRule{
                .code = match.captured(1) + match.captured(2),
                .severity = letter == u'E' ? Severity::Error : letter == u'W' ? Severity::Warning : Severity::Info,
                .summary = {},
                .title = match.captured(3),
                .description = {},
            });
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

namespace {

// The letter is the severity, the first digit the group (1 structure of
// blocks, 2 syntax, 3 files; W1 names, W2 values, W3 files).
struct RuleRow {
    const char *code;
    Severity severity;
    const char16_t *summary;
};
constexpr RuleRow kRules[] = {
    {"E101", Severity::Error, u"块标签没有闭合"},
    {"E102", Severity::Error, u"结束标签没有对应的开始标签"},
    {"E103", Severity::Error, u"结束标签跨越了未闭合的块标签"},
    {"E104", Severity::Error, u"else 或 elseif 不在任何块标签之内"},
    {"E201", Severity::Error, u"标签缺少结束的 }"},
    {"E202", Severity::Error, u"属性值缺少结束的引号"},
    {"E203", Severity::Error, u"变量缺少结束的 }"},
    {"E301", Severity::Error, u"文件循环包含"},
    {"W101", Severity::Warning, u"未知的标签"},
    {"W102", Severity::Warning, u"疑似写错的属性名"},
    {"W103", Severity::Warning, u"同一属性写了两次"},
    {"W201", Severity::Warning, u"应为数字的属性不是数字"},
    {"W301", Severity::Warning, u"引用的文件不存在"},
    {"W302", Severity::Warning, u"引用的文件在根目录之外"},
    {"W303", Severity::Warning, u"没有任何模板引用的模板"},
};

} // namespace

const QList<CheckRule> &checkRules()
{
    static const QList<CheckRule> rules = [] {
        QFile file(QStringLiteral(":/docs/checks.md"));
        const QList<CheckRule> described =
            file.open(QIODevice::ReadOnly) ? checkRulesOf(QString::fromUtf8(file.readAll())) : QList<CheckRule>();
        QList<CheckRule> list;
        for (const RuleRow &row : kRules) {
            CheckRule rule{QLatin1String(row.code), row.severity, QString::fromUtf16(row.summary), {}, {}};
            for (const CheckRule &section : described) {
                if (section.code == rule.code) {
                    rule.title = section.title;
                    rule.description = section.description;
                }
            }
            list.append(rule);
        }
        return list;
    }();
    return rules;
}
