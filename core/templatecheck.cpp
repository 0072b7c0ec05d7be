#include "core/templatecheck.h"

#include "core/numeric.h"
#include "core/tagknowledge.h"
#include "core/templateblocks.h"
#include "core/templateparser.h"
#include "core/templatesyntax.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

int editDistance(QStringView a, QStringView b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The closest of `candidates` to `word`, when it is close enough to be a
// slip of the keyboard: one edit, two for longer words.
QString nearest(QStringView word, const QStringList &candidates)
{
    const int allowed = word.size() > 5 ? 2 : 1;
    QString best;
    int bestDistance = allowed + 1;
    for (const QString &candidate : candidates) {
        const int d = editDistance(word, candidate);
        if (d > 0 && d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
    }
    return best;
}

bool isElse(QStringView name)
{
    return name == u"zuvi:else" || name == u"zuvi:elseif" || name == u"else" || name == u"elseif";
}

// A name from the text for a one-line message.
QString oneLine(QStringView text)
{
    QString line = text.toString();
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

bool isExpression(QStringView value)
{
    return value.startsWith(u'$') || value.contains(u"{$");
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    if (!value.isEmpty() && (value.front() == u'"' || value.front() == u'\''))
        return value.sliced(1);
    return value;
}

class Checker
{
public:
    Checker(QStringView text, const CheckContext &context)
        : m_text(text), m_context(context), m_parsed(parseTemplate(text))
    {
        if (!context.siteTags.isEmpty())
            m_knowledge = TagKnowledge::catalog().withSiteTags(context.siteTags);
    }

    QList<Finding> run()
    {
        syntax();
        structure();
        for (qsizetype i = 0; i < m_parsed.nodes.size(); ++i) {
            const TemplateNode &node = m_parsed.nodes[i];
            if (node.kind == NodeKind::Tag && node.form != TagForm::Close && !m_faulted.contains(i))
                tag(node);
        }
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding &a, const Finding &b) { return a.start < b.start; });
        suppress();
        return m_findings;
    }

private:
    const TagKnowledge &knowledge() const { return m_knowledge ? *m_knowledge : TagKnowledge::catalog(); }
    QStringView at(const TextRange &range) const { return m_text.sliced(range.start, range.length); }

    void add(const char *code, Severity severity, const TextRange &range, const QString &message,
             const QString &replacement = {})
    {
        m_findings.append({QLatin1String(code), severity, range.start, range.length, message, replacement});
    }

    // A tag with a syntax fault gives that finding alone.
    void syntax()
    {
        for (const SyntaxError &error : m_parsed.errors) {
            m_faulted.insert(error.node);
            const TemplateNode &node = m_parsed.nodes[error.node];
            switch (error.fault) {
            case SyntaxFault::TagNotClosed:
                add("E201", Severity::Error, error.range, u"标签 %1 缺少结束的 }"_s.arg(at(error.range)));
                break;
            case SyntaxFault::ValueNotClosed:
                add("E202", Severity::Error, error.range,
                    u"标签 {%1} 的属性值缺少结束的引号 %2"_s.arg(at(node.name), at(error.range).left(1)));
                break;
            case SyntaxFault::PlaceholderNotClosed:
                add("E203", Severity::Error, error.range, u"变量 %1 缺少结束的 }"_s.arg(at(error.range)));
                break;
            }
        }
    }

    // Blocks opened and closed (templateBlocks pairs them). A closing tag
    // that crosses open blocks is reported once and closes them, so that
    // one slip gives one finding.
    void structure()
    {
        const TemplateBlocks blocks = templateBlocks(m_text, m_parsed, knowledge());
        const auto nameOf = [&](qsizetype node) { return at(m_parsed.nodes[node].name); };
        for (qsizetype i = 0; i < m_parsed.nodes.size(); ++i) {
            const TemplateNode &node = m_parsed.nodes[i];
            if (node.kind == NodeKind::Tag && node.form != TagForm::Close && !m_faulted.contains(i)
                && isElse(at(node.name)) && blocks.enclosing[i] < 0)
                add("E104", Severity::Error, node.range, u"{%1} 不在任何块标签之内"_s.arg(at(node.name)));
        }
        for (const qsizetype close : blocks.strayCloses) {
            const QStringView name = nameOf(close);
            add("E102", Severity::Error, m_parsed.nodes[close].range, u"{/%1} 没有对应的开始标签 {%1}"_s.arg(name));
        }
        for (const BlockCrossing &crossing : blocks.crossings) {
            add("E103", Severity::Error, m_parsed.nodes[crossing.close].range,
                u"{/%1} 跨越了未闭合的 {%2}，缺少 {/%2}"_s.arg(nameOf(crossing.close), nameOf(blocks.blocks[crossing.crossed].open)));
        }
        for (const TemplateBlock &block : blocks.blocks) {
            if (!block.leftOpen())
                continue;
            const QStringView name = nameOf(block.open);
            add("E101", Severity::Error, m_parsed.nodes[block.open].name, u"{%1} 未闭合：缺少 {/%1}"_s.arg(name));
        }
    }

    void tag(const TemplateNode &node)
    {
        const QStringView name = at(node.name);
        const TagInfo *info = knowledge().find(name);
        if (!info && name.startsWith(templatesyntax::kTagPrefix)) {
            const QString suggestion = nearest(name, knowledge().names());
            add("W101", Severity::Warning, node.name,
                suggestion.isEmpty() ? u"未知的标签 {%1}"_s.arg(name)
                                     : u"未知的标签 {%1}，是否应为 {%2}？"_s.arg(name, suggestion),
                suggestion);
        }
        QSet<QStringView> seen;
        for (const TagAttribute &attribute : node.attributes) {
            const QStringView attributeName = at(attribute.name);
            if (seen.contains(attributeName))
                add("W103", Severity::Warning, attribute.name, u"{%1} 的属性 %2 重复"_s.arg(name, attributeName));
            seen.insert(attributeName);
            if (!info)
                continue;
            if (!info->attributes.contains(attributeName.toString())) {
                const QString suggestion = nearest(attributeName, QStringList(info->attributes.cbegin(), info->attributes.cend()));
                if (!suggestion.isEmpty())
                    add("W102", Severity::Warning, attribute.name,
                        u"{%1} 没有属性 %2，是否应为 %3？"_s.arg(name, attributeName, suggestion), suggestion);
                continue;
            }
            const QStringView value = unquoted(at(attribute.value));
            if (info->numericAttributes.contains(attributeName.toString()) && attribute.value.length > 0
                && !isExpression(value) && !isNumeric(value))
                add("W201", Severity::Warning, attribute.value,
                    u"{%1} 的属性 %2 应为数字，而不是 %3"_s.arg(name, attributeName, oneLine(value)));
        }
        for (const IncludedFile &file : includedFiles(m_text, node, m_context)) {
            const bool exists = m_context.fileExists ? m_context.fileExists(file.path) : QFileInfo::exists(file.path);
            if (!exists)
                add("W301", Severity::Warning, file.attribute, u"文件 %1 不存在"_s.arg(oneLine(at(file.range))));
        }
    }

    // The line a position is on, lines ending at CR LF, LF or CR.
    qsizetype lineOf(qsizetype offset) const
    {
        return std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), offset) - m_lineStarts.cbegin() - 1;
    }

    // <!-- zuvi-check-disable-next-line CODE… --> and <!-- zuvi-check-disable
    // CODE… --> … <!-- zuvi-check-enable -->; no code names every code, a
    // code names every code it starts.
    void suppress()
    {
        m_lineStarts = {0};
        for (qsizetype i = 0; i < m_text.size(); ++i) {
            if (m_text[i] == u'\n' || (m_text[i] == u'\r' && (i + 1 >= m_text.size() || m_text[i + 1] != u'\n')))
                m_lineStarts.append(i + 1);
        }
        struct Rule {
            qsizetype from, to;
            QStringList codes;
        };
        QList<Rule> rules;
        static const QRegularExpression directive(
            u"^<!--\\s*zuvi-check-(disable-next-line|disable|enable)\\b([^>]*?)\\s*-->$"_s);
        qsizetype openRegion = -1;
        for (const TemplateNode &node : m_parsed.nodes) {
            if (node.kind != NodeKind::Comment)
                continue;
            const QRegularExpressionMatch match = directive.match(at(node.range));
            if (!match.hasMatch())
                continue;
            const QString kind = match.captured(1);
            const QStringList codes = match.captured(2).split(QRegularExpression(u"[\\s,]+"_s), Qt::SkipEmptyParts);
            if (kind == u"disable-next-line") {
                const qsizetype line = lineOf(node.range.end()) + 1;
                if (line < m_lineStarts.size())
                    rules.append({m_lineStarts[line], line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : m_text.size() + 1, codes});
            } else if (kind == u"disable") {
                openRegion = rules.size();
                rules.append({node.range.end(), m_text.size() + 1, codes});
            } else if (openRegion >= 0) {
                rules[openRegion].to = node.range.start;
                openRegion = -1;
            }
        }
        if (rules.isEmpty())
            return;
        m_findings.removeIf([&](const Finding &finding) {
            return std::any_of(rules.cbegin(), rules.cend(), [&](const Rule &rule) {
                return finding.start >= rule.from && finding.start < rule.to
                    && (rule.codes.isEmpty()
                        || std::any_of(rule.codes.cbegin(), rule.codes.cend(),
                                       [&](const QString &code) { return finding.code.startsWith(code); }));
            });
        });
    }

    QStringView m_text;
    QList<qsizetype> m_lineStarts;
    const CheckContext &m_context;
    ParsedTemplate m_parsed;
    std::optional<TagKnowledge> m_knowledge;
    QSet<qsizetype> m_faulted;   // nodes with a syntax fault
    QList<Finding> m_findings;
};

} // namespace

QList<IncludedFile> includedFiles(QStringView text, const TemplateNode &tag, const CheckContext &context)
{
    QList<IncludedFile> files;
    if (tag.kind != NodeKind::Tag || tag.form == TagForm::Close)
        return files;
    const QStringView name = text.sliced(tag.name.start, tag.name.length);
    if (name != u"zuvi:include" && name != u"zuvi:static" && name != u"include")
        return files;
    for (const TagAttribute &attribute : tag.attributes) {
        if (text.sliced(attribute.name.start, attribute.name.length) != u"file" || attribute.value.length == 0)
            continue;
        const QStringView value = unquoted(text.sliced(attribute.value.start, attribute.value.length));
        if (isExpression(value))
            continue;
        qsizetype from = attribute.value.start + (attribute.quoted ? 1 : 0);
        for (const QStringView part : value.split(u',')) {
            const QStringView path = part.trimmed();
            const qsizetype start = from + (path.isEmpty() ? 0 : path.data() - part.data());
            from += part.size() + 1;
            if (path.isEmpty())
                continue;
            const QString &root = path.startsWith(u'/') ? context.siteRoot : context.templateRoot;
            if (root.isEmpty())
                continue;
            const QString full = root + (path.startsWith(u'/') ? QString() : u"/"_s) + path.toString();
            files.append({{start, path.size()}, attribute.value, full});
        }
    }
    return files;
}

QList<Finding> checkTemplate(QStringView text, const CheckContext &context)
{
    return Checker(text, context).run();
}
