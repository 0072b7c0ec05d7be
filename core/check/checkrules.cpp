#include "core/check/checkrules.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

struct CheckEntry {
    Check check;
    std::string_view code;
    Severity severity;
    std::u16string_view summary;
    std::u16string_view fix;   // empty: none
};

// The letter of a code is its severity, the first digit its group (1
// structure of blocks, 2 syntax, 3 files; W1 names, W2 values, W3 files).
constexpr CheckEntry kChecks[] = {
    {Check::BlockNeverClosed, "E101", Severity::Error, u"块标签没有闭合", u"补上缺少的结束标签"},
    {Check::ClosingTagWithNothingOpen, "E102", Severity::Error, u"结束标签没有对应的开始标签",
     u"删除多余的结束标签，或改为外层块的标签名"},
    {Check::ClosingTagCrossesAnOpenBlock, "E103", Severity::Error, u"结束标签跨越了未闭合的块标签",
     u"在它之前补上被跨越的块的结束标签"},
    {Check::ElseOutsideEveryBlock, "E104", Severity::Error, u"else 或 elseif 不在任何块标签之内", {}},
    {Check::TagNeverClosed, "E201", Severity::Error, u"标签缺少结束的 }", {}},
    {Check::QuotedValueNeverClosed, "E202", Severity::Error, u"属性值缺少结束的引号", u"在值后补上引号"},
    {Check::PlaceholderNeverClosed, "E203", Severity::Error, u"变量缺少结束的 }", u"在变量后补上 }"},
    {Check::IncludeCycle, "E301", Severity::Error, u"文件循环包含", {}},
    {Check::UnknownTag, "W101", Severity::Warning, u"未知的标签", u"改为相近的已知标签名"},
    {Check::NearMissOfAnAttribute, "W102", Severity::Warning, u"疑似写错的属性名", u"改为相近的属性名"},
    {Check::AttributeGivenTwice, "W103", Severity::Warning, u"同一属性写了两次", {}},
    {Check::WordWhereANumberGoes, "W201", Severity::Warning, u"应为数字的属性不是数字", {}},
    {Check::IncludedFileMissing, "W301", Severity::Warning, u"引用的文件不存在", {}},
    {Check::FileOutsideItsRoot, "W302", Severity::Warning, u"引用的文件在根目录之外", {}},
    {Check::TemplateNeverIncluded, "W303", Severity::Warning, u"没有任何模板引用的模板", {}},
};

constexpr char letterOf(Severity severity)
{
    return severity == Severity::Error ? 'E' : severity == Severity::Warning ? 'W' : 'I';
}

// checkRule() finds a check's row by its value; a code is the severity's
// letter and three digits, each code greater than the one before.
constexpr bool wellFormed()
{
    for (std::size_t i = 0; i < std::size(kChecks); ++i) {
        const CheckEntry &entry = kChecks[i];
        if (entry.check != Check(i) || entry.code.size() != 4 || entry.code[0] != letterOf(entry.severity))
            return false;
        for (const char digit : entry.code.substr(1)) {
            if (digit < '0' || digit > '9')
                return false;
        }
        if (entry.summary.empty())
            return false;
        if (i > 0 && !(kChecks[i - 1].code < entry.code))
            return false;
    }
    return true;
}
static_assert(wellFormed(), "one row per check in the order of the enum, each with its code and summary");

QString fromView(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// Every code as one string, shared by every finding of it, so that a text
// of many findings holds one copy of each code. Apart from checkRules(),
// which reads the documentation: a check of one file needs only the codes.
const QStringList &codeStrings()
{
    static const QStringList codes = [] {
        QStringList list;
        for (const CheckEntry &entry : kChecks)
            list << QString::fromLatin1(entry.code.data(), qsizetype(entry.code.size()));
        return list;
    }();
    return codes;
}

} // namespace

QList<CheckSection> checkSectionsOf(QStringView markdown)
{
    static const QRegularExpression heading(QStringLiteral("^## ([EWI]\\d+) (.+)$"));
    QList<CheckSection> sections;
    bool inSection = false;   // a heading of another kind ends the section before it
    for (const QStringView line : markdown.split(u'\n')) {
        if (line.startsWith(u"## ") || line.startsWith(u"# ")) {
            const QRegularExpressionMatch match = heading.match(line.trimmed());
            inSection = match.hasMatch();
            if (inSection)
                sections.append({match.captured(1), match.captured(2), {}});
        } else if (inSection) {
            sections.last().description += line.toString() + u'\n';
        }
    }
    for (CheckSection &section : sections)
        section.description = section.description.trimmed();
    return sections;
}

const QList<CheckRule> &checkRules()
{
    static const QList<CheckRule> rules = [] {
        QFile file(QStringLiteral(":/docs/checks.md"));
        const QList<CheckSection> described =
            file.open(QIODevice::ReadOnly) ? checkSectionsOf(QString::fromUtf8(file.readAll())) : QList<CheckSection>();
        QList<CheckRule> list;
        for (const CheckEntry &entry : kChecks) {
            CheckRule rule{codeStrings()[qsizetype(entry.check)], entry.severity,
                           fromView(entry.summary), fromView(entry.fix), {}, {}};
            for (const CheckSection &section : described) {
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

const CheckRule &checkRule(Check check)
{
    Q_ASSERT(std::size_t(check) < std::size(kChecks));
    return checkRules()[qsizetype(check)];
}

QStringList checkCodes()
{
    return codeStrings();
}

bool startsSomeCode(QStringView prefix)
{
    return std::any_of(codeStrings().cbegin(), codeStrings().cend(),
                       [&](const QString &code) { return code.startsWith(prefix); });
}

Finding findingOf(Check check, qsizetype start, qsizetype length, const QString &message)
{
    Q_ASSERT(std::size_t(check) < std::size(kChecks));
    return Finding{codeStrings()[qsizetype(check)], kChecks[std::size_t(check)].severity, start, length, message, {}, {}};
}
