#include "core/check/templatecheck.h"

#include "core/check/checkrules.h"
#include "core/check/nearmiss.h"
#include "core/catalog/numeric.h"
#include "core/catalog/tagknowledge.h"
#include "core/files/templatefiles.h"
#include "core/template/templatesyntax.h"
#include "core/template/textscan.h"
#include "core/template/textposition.h"

#include <QDir>
#include <QSet>
#include <QStringBuilder>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// What a message quotes of the template is cut after this many characters
// and a list it names after this many items, so that a finding stays one
// readable line however long a name, a value or a list is in the text
// (docs/checks.md says so).
constexpr qsizetype kQuotedLength = 80;
constexpr qsizetype kListedItems = 5;

// A text from the template, on one line and cut to length, for a message.
QString shown(QStringView text)
{
    qsizetype length = std::min(text.size(), kQuotedLength);
    if (length < text.size() && text[length - 1].isHighSurrogate())
        --length;   // not between the halves of a pair
    QString line = text.first(length).toString();
    if (nextOfAny(line, 0, u'\r', u'\n') < line.size())
        line.replace(u'\r', u' ').replace(u'\n', u' ');
    if (length < text.size())
        line += u'…';
    return line;
}

// Items of a message's list, joined by `separator`; past the first few, how
// many more there are.
QString listed(const QStringList &items, QStringView separator, qsizetype total)
{
    QString list = items.join(separator);
    if (total > items.size())
        list += u" 等 %1 个"_s.arg(total);
    return list;
}

// A value the template engine computes: a variable, a placeholder, a
// function call. Never judged as a literal.
bool isExpression(QStringView value)
{
    if (value.startsWith(u'$') || value.startsWith(u':'))
        return true;
    for (qsizetype brace = value.indexOf(u'{'); brace >= 0; brace = value.indexOf(u'{', brace + 1)) {
        if (brace + 1 < value.size() && value[brace + 1] == u'$')
            return true;
    }
    return false;
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// The tags that name files: include (with or without the prefix) and
// zuvi:static. Against Latin-1 names, compared by length first, in line.
enum class FileTag { None, Include, Static };

FileTag fileTagOf(QStringView tag)
{
    const bool prefixed = templatesyntax::hasTagPrefix(tag);
    const QStringView name = prefixed ? tag.sliced(templatesyntax::kTagPrefix.size()) : tag;
    if (name == "include"_L1)
        return FileTag::Include;
    if (prefixed && name == "static"_L1)
        return FileTag::Static;
    return FileTag::None;
}

bool namesFile(FileTag tag, QStringView attribute)
{
    switch (tag) {
    case FileTag::Include:
        return attribute == "file"_L1;
    case FileTag::Static:
        return attribute == "file"_L1 || attribute == "href"_L1;
    case FileTag::None:
        break;
    }
    return false;
}

} // namespace

bool namesFile(QStringView tag, QStringView attribute)
{
    return namesFile(fileTagOf(tag), attribute);
}

namespace {

// A root as fileReferences compares paths with it: absolute and clean.
QString cleanRoot(const QString &root)
{
    return root.isEmpty() ? root : QDir::cleanPath(QDir(root).absolutePath());
}

// Whether `path`, after one leading '/', is names apart by single slashes,
// none of them "." or "..": put under a clean root, it is clean already.
bool isPlainPath(QStringView path)
{
    if (path.startsWith(u'/'))
        path = path.sliced(1);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != u'/')
            continue;
        const QStringView segment = path.sliced(start, i - start);
        if (segment.isEmpty() || segment == u"." || segment == u"..")
            return false;
        start = i + 1;
    }
    return true;
}

// `path` put under `root` (absolute and clean) and made clean; a ".." past
// the top of the file system stays at the top, as the system takes it.
QString resolvedUnder(const QString &root, QStringView path)
{
    // Most paths are plain and need none of the cleaning, which is dear.
    if (isPlainPath(path)) {
        const QStringView relative = path.startsWith(u'/') ? path.sliced(1) : path;
        QString resolved;
        resolved.reserve(root.size() + 1 + relative.size());
        resolved.append(root);
        if (root != u'/')
            resolved.append(u'/');
        return resolved.append(relative);
    }
    QString resolved = QDir::cleanPath(root + u'/' + path.toString());
    while (resolved.startsWith(u"/../") || resolved == u"/..")
        resolved.remove(0, 3);
    return resolved.isEmpty() ? u"/"_s : resolved;
}

bool isUnder(const QString &path, const QString &root)
{
    return path == root || root == u'/' || (path.startsWith(root) && path[root.size()] == u'/');
}

// <!-- zuvi-check-KIND CODE… -->, codes apart by blanks or commas.
struct Directive {
    enum class Kind { DisableNextLine, Disable, Enable };
    Kind kind = Kind::Enable;
    QStringList codes;
};

std::optional<Directive> readDirective(QStringView comment)
{
    static constexpr QLatin1String open("<!--"), close("-->"), prefix("zuvi-check-");
    // Most comments are no directive: the first word after "<!--" tells.
    qsizetype first = open.size();
    while (first < comment.size() && comment[first].isSpace())
        ++first;
    if (first >= comment.size() || comment[first] != u'z')
        return std::nullopt;
    if (comment.size() < open.size() + close.size() || !comment.endsWith(close))
        return std::nullopt;
    QStringView body = comment.sliced(open.size(), comment.size() - open.size() - close.size()).trimmed();
    if (!body.startsWith(prefix))
        return std::nullopt;
    body = body.sliced(prefix.size());
    const auto isSeparator = [](QChar c) { return c.isSpace() || c == u','; };
    qsizetype i = 0;
    while (i < body.size() && !isSeparator(body[i]))
        ++i;
    Directive directive;
    const QStringView kind = body.first(i);
    if (kind == u"disable-next-line")
        directive.kind = Directive::Kind::DisableNextLine;
    else if (kind == u"disable")
        directive.kind = Directive::Kind::Disable;
    else if (kind != u"enable")
        return std::nullopt;
    while (i < body.size()) {
        while (i < body.size() && isSeparator(body[i]))
            ++i;
        const qsizetype start = i;
        while (i < body.size() && !isSeparator(body[i])) {
            const char16_t c = body[i].unicode();
            if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
                return std::nullopt;
            ++i;
        }
        if (i > start)
            directive.codes.append(body.sliced(start, i - start).toString());
    }
    return directive;
}

class Checker
{
public:
    // Without `keepPieces` the pieces and blocks are let go as soon as they
    // are no longer needed, so that a big text's findings do not pile up
    // on top of all of them.
    Checker(QStringView text, const CheckContext &context, TemplateAnalysis &analysis, bool keepPieces)
        : m_text(text), m_context(context), m_analysis(analysis), m_keepPieces(keepPieces)
    {
    }

    void run()
    {
        m_analysis.parsed = parseTemplate(m_text);
        m_analysis.blocks = pairBlocks(m_text, m_analysis.parsed, m_knowledge);
        syntax();
        structure();
        const QList<TemplateNode> &nodes = m_analysis.parsed.nodes;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (nodes[i].kind == NodeKind::Tag && nodes[i].form != TagForm::Close && !m_faulted.contains(i))
                checkTag(i);
        }
        if (!m_keepPieces)
            m_analysis.blocks = {};
        files();
        readSuppressions();
        if (!m_keepPieces) {
            m_analysis.parsed = {};
            m_faulted = {};
        }
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding &a, const Finding &b) { return a.start < b.start; });
        suppress();
        m_analysis.findings = std::move(m_findings);
    }

private:
    QStringView at(const TextRange &range) const { return m_text.sliced(range.start, range.length); }
    // A piece of the text as a message shows it.
    QString shownAt(const TextRange &range) const { return shown(at(range)); }
    const TemplateNode &node(qsizetype index) const { return m_analysis.parsed.nodes[index]; }
    QStringView nameOf(qsizetype index) const { return at(node(index).name); }
    QString shownName(qsizetype index) const { return shown(nameOf(index)); }
    // From the tag's '{' to the end of its name: where a finding about the
    // whole tag points.
    TextRange tagStart(const TemplateNode &tag) const
    {
        return {tag.range.start, tag.name.end() - tag.range.start};
    }

    Finding &add(Check check, const TextRange &range, const QString &message)
    {
        m_findings.append(findingOf(check, range.start, range.length, message));
        return m_findings.last();
    }
    static void fix(Finding &finding, const TextRange &range, const QString &replacement)
    {
        finding.replacement = replacement;
        finding.fix.append({range.start, range.length, replacement});
    }

    // A piece with a syntax fault gives that finding alone.
    void syntax()
    {
        for (const SyntaxError &error : m_analysis.parsed.errors) {
            m_faulted.insert(error.node);
            const TemplateNode &faulty = node(error.node);
            switch (error.fault) {
            case SyntaxFault::TagNotClosed:
                add(Check::TagNeverClosed, error.range, u"标签 %1 缺少结束的 }"_s.arg(shownAt(error.range)));
                break;
            case SyntaxFault::ValueNotClosed:
                valueNotClosed(faulty, error.range);
                break;
            case SyntaxFault::PlaceholderNotClosed:
                placeholderNotClosed(faulty);
                break;
            }
        }
    }

    // The quote goes after the value, before the blanks and the '/' of a
    // single tag that the value took in: file='head.htm /} -> file='head.htm' /}
    void valueNotClosed(const TemplateNode &tag, const TextRange &value)
    {
        const NodeParts<TagAttribute> attributes = m_analysis.parsed.attributesOf(tag);
        const auto attribute = std::find_if(attributes.cbegin(), attributes.cend(),
                                            [&](const TagAttribute &a) { return a.value == value; });
        const QString quote = at(value).first(1).toString();
        const QString message = attribute == attributes.cend()
            ? u"{%1} 的属性值缺少结束的引号 %2"_s.arg(shownAt(tag.name), quote)
            : u"{%1} 的属性 %2 的值缺少结束的引号 %3"_s.arg(shownAt(tag.name), shownAt(attribute->name), quote);
        QStringView written = at(value).trimmed();
        if (written.endsWith(u'/') && written.size() > 1 && written[written.size() - 2].isSpace())
            written.chop(1);
        written = written.trimmed();
        fix(add(Check::QuotedValueNeverClosed, value, message), {value.start + qMax<qsizetype>(written.size(), 1), 0},
            quote);
    }

    // A placeholder runs to the end of its line when its '}' is missing; the
    // '}' goes after the variable's name where the name ends sooner:
    // {$field.title</b> -> {$field.title}</b>
    void placeholderNotClosed(const TemplateNode &placeholder)
    {
        qsizetype end = placeholder.range.end();
        if (m_analysis.parsed.filtersOf(placeholder).isEmpty()) {
            qsizetype name = placeholder.variable.start;
            while (name < end && (templatesyntax::isIdentifierChar(m_text[name]) || m_text[name] == u'.'))
                ++name;
            if (name > placeholder.variable.start)
                end = name;
        }
        while (end > placeholder.variable.start && m_text[end - 1].isSpace())
            --end;
        const TextRange range{placeholder.range.start, end - placeholder.range.start};
        fix(add(Check::PlaceholderNeverClosed, range, u"变量 %1 缺少结束的 }"_s.arg(shownAt(range))), {end, 0},
            u"}"_s);
    }

    QString closingTag(qsizetype block) const
    {
        return u"{/%1}"_s.arg(nameOf(m_analysis.blocks.blocks[block].open));
    }

    void structure()
    {
        const TemplateBlocks &blocks = m_analysis.blocks;
        for (const BlockFault &fault : blocks.faults) {
            switch (fault.kind) {
            case BlockFault::Kind::NeverClosed: {
                const TemplateBlock &block = blocks.blocks[fault.block];
                const QString name = shownName(block.open);
                Finding &f = add(Check::BlockNeverClosed, tagStart(node(block.open)),
                                 u"块标签 {%1} 没有闭合，缺少 {/%1}"_s.arg(name));
                fix(f, {block.content.end(), 0}, closingTag(fault.block));
                break;
            }
            case BlockFault::Kind::NothingOpen: {
                const TemplateNode &closer = node(fault.node);
                const TagInfo *info = m_knowledge.find(at(closer.name));
                const QString name = shownAt(closer.name);
                if (fault.block < 0 && info && !info->block) {
                    fix(add(Check::ClosingTagWithNothingOpen, closer.range,
                            u"{/%1} 是多余的：{%1} 不是块标签，不需要结束标签"_s.arg(name)),
                        closer.range, {});
                } else if (fault.block < 0) {
                    fix(add(Check::ClosingTagWithNothingOpen, closer.range, u"{/%1} 没有对应的开始标签 {%1}"_s.arg(name)),
                        closer.range, {});
                } else {
                    const qsizetype meant = blocks.blocks[fault.block].open;
                    Finding &f = add(Check::ClosingTagWithNothingOpen, closer.range,
                                     u"{/%1} 没有对应的开始标签，是否应为 {/%2}？"_s.arg(name, shownName(meant)));
                    fix(f, closer.name, nameOf(meant).toString());
                }
                break;
            }
            case BlockFault::Kind::Crossing: {
                QStringList open;
                QStringList missing;
                QString closers;
                for (const qsizetype crossed : fault.crossed) {
                    if (open.size() < kListedItems) {
                        open.append(u"{%1}"_s.arg(shownName(blocks.blocks[crossed].open)));
                        missing.append(u"{/%1}"_s.arg(shownName(blocks.blocks[crossed].open)));
                    }
                    closers += closingTag(crossed);
                }
                const TemplateNode &closer = node(fault.node);
                const qsizetype crossed = fault.crossed.size();
                Finding &f = add(Check::ClosingTagCrossesAnOpenBlock, closer.range,
                                 u"{/%1} 跨越了未闭合的 %2，缺少 %3"_s.arg(shownAt(closer.name), listed(open, u"、", crossed),
                                                                     listed(missing, u"", crossed)));
                fix(f, {closer.range.start, 0}, closers);
                break;
            }
            case BlockFault::Kind::ElseOutside:
                add(Check::ElseOutsideEveryBlock, tagStart(node(fault.node)),
                    u"{%1} 不在任何块标签之内"_s.arg(shownName(fault.node)));
                break;
            }
        }
    }

    void checkTag(qsizetype index)
    {
        const TemplateNode &tag = node(index);
        const QStringView name = at(tag.name);
        const TagInfo *info = m_knowledge.find(name);
        if (!info && templatesyntax::hasTagPrefix(name))
            unknownTag(index);
        // Most tags have a few attributes: comparing them beats hashing each
        // name, which only a tag of many is worth.
        const NodeParts<TagAttribute> attributes = m_analysis.parsed.attributesOf(tag);
        std::optional<QSet<QStringView>> seen;
        if (attributes.size() > 8)
            seen.emplace();
        for (qsizetype a = 0; a < attributes.size(); ++a) {
            const TagAttribute &attribute = attributes[a];
            const QStringView attributeName = at(attribute.name);
            const bool repeated = seen ? !insertedNew(*seen, attributeName) : isRepeated(attributes, a);
            if (repeated) {
                add(Check::AttributeGivenTwice, attribute.name,
                    u"{%1} 的属性 %2 重复"_s.arg(shown(name), shown(attributeName)));
                continue;
            }
            const bool literal = attribute.quoted || attribute.value.length > 0;
            const AttributeInfo *known = info ? m_knowledge.attributeOf(*info, attributeName) : nullptr;
            if (info && !known)
                nearMissAttribute(*info, attribute);
            const QStringView value = unquoted(at(attribute.value));
            if (known && known->numeric && literal && !isExpression(value) && !isNumeric(value)) {
                add(Check::WordWhereANumberGoes, attribute.value,
                    u"{%1} 的属性 %2 应为数字，而不是 %3"_s.arg(shown(name), shown(attributeName), shownAt(attribute.value)));
            }
        }
    }

    static bool insertedNew(QSet<QStringView> &set, QStringView name)
    {
        const qsizetype before = set.size();
        set.insert(name);
        return set.size() > before;
    }

    // Whether an attribute before the `index`th has its name.
    bool isRepeated(NodeParts<TagAttribute> attributes, qsizetype index) const
    {
        const QStringView name = at(attributes[index].name);
        return std::any_of(attributes.cbegin(), attributes.cbegin() + index,
                           [&](const TagAttribute &earlier) { return at(earlier.name) == name; });
    }

    void unknownTag(qsizetype index)
    {
        const TextRange &nameRange = node(index).name;
        const QStringView name = at(nameRange);
        const QStringView typed = name.sliced(templatesyntax::kTagPrefix.size());
        NearestName nearest(typed);
        for (const TagInfo &tag : m_knowledge.tags()) {
            if (tag.name.startsWith(templatesyntax::kTagPrefix))
                nearest.consider(QStringView(tag.name).sliced(templatesyntax::kTagPrefix.size()));
        }
        if (nearest.best().isEmpty()) {
            add(Check::UnknownTag, nameRange, u"未知的标签 {%1}"_s.arg(shown(name)));
            return;
        }
        const QString suggestion = templatesyntax::kTagPrefix + nearest.best();
        Finding &f =
            add(Check::UnknownTag, nameRange, u"未知的标签 {%1}，是否应为 {%2}？"_s.arg(shown(name), suggestion));
        fix(f, nameRange, suggestion);
        // The closing tag of its block, of the same wrong name, goes with it.
        const qsizetype block = m_analysis.blocks.blockOfNode[index];
        const qsizetype close = block >= 0 ? m_analysis.blocks.blocks[block].close : -1;
        if (close >= 0 && nameOf(close) == name)
            f.fix.append({node(close).name.start, node(close).name.length, suggestion});
    }

    // Only a slip of an attribute the tag takes is reported: the catalog
    // does not show every attribute a tag may take, and a name that some
    // tag takes is a real one.
    void nearMissAttribute(const TagInfo &info, const TagAttribute &attribute)
    {
        const QStringView typed = at(attribute.name);
        if (m_knowledge.isAttributeName(typed))
            return;
        NearestName nearest(typed);
        for (const AttributeInfo &known : info.attributes)
            nearest.consider(known.name);
        if (nearest.best().isEmpty())
            return;
        Finding &f = add(Check::NearMissOfAnAttribute, attribute.name,
                         u"{%1} 没有属性 %2，是否应为 %3？"_s.arg(shown(info.name), shown(typed), nearest.best()));
        fix(f, attribute.name, nearest.best());
    }

    // A path shown in a message: the native form of an absolute one.
    static QString shownPath(const QString &path) { return shown(QDir::toNativeSeparators(path)); }

    void files()
    {
        // Taken one by one: a big text's references are never all held.
        QStringList includes;
        QList<std::pair<qsizetype, TextRange>> included;   // the tag and the path of each of `includes`
        forEachFileReference(m_text, m_analysis.parsed, m_context, [&](const FileReference &file) {
            if (m_faulted.contains(file.node))
                return;
            if (file.path.length == 0) {
                add(Check::IncludedFileMissing, file.path, u"{%1} 没有指明文件"_s.arg(shownName(file.node)));
            } else if (file.resolved.isEmpty()) {
                return;
            } else if (file.outsideRoot) {
                const bool fromSite = m_text[file.path.start] == u'/';
                add(Check::FileOutsideItsRoot, file.path,
                    (fromSite ? u"{%1} 引用的文件 %2 在网站根目录之外（%3）"_s : u"{%1} 引用的文件 %2 在模板根目录之外（%3）"_s)
                        .arg(shownName(file.node), shownAt(file.path), shownPath(file.resolved)));
            } else if (!(m_context.fileExists ? m_context.fileExists(file.resolved) : TemplateFiles::disk().isFile(file.resolved))) {
                // Joined, not QString::arg(): the finding most themes have many of.
                add(Check::IncludedFileMissing, file.path,
                    u'{' % shownName(file.node) % u"} 引用的文件 " % shownAt(file.path) % u" 不存在（查找位置 "
                        % shownPath(file.resolved) % u'）');
            } else if (file.include && m_context.includeCycles) {
                includes.append(file.resolved);
                included.append({file.node, file.path});
            }
        });
        if (!m_context.includeCycles || includes.isEmpty())
            return;
        const QList<QStringList> cycles = m_context.includeCycles(includes);
        for (qsizetype i = 0; i < included.size() && i < cycles.size(); ++i) {
            const QStringList &cycle = cycles[i];
            if (cycle.isEmpty())
                continue;
            QStringList names;
            for (qsizetype k = 0; k < cycle.size() && k < kListedItems; ++k)
                names.append(shownPath(relativeToRoot(cycle[k])));
            QString chain = names.join(u" → ");
            if (cycle.size() > kListedItems)
                chain += u" → …（共 %1 个）"_s.arg(cycle.size());
            add(Check::IncludeCycle, included[i].second,
                u"{%1} 循环包含：%2"_s.arg(shownName(included[i].first), chain));
        }
    }

    // A file under the template root named as an include names it.
    QString relativeToRoot(const QString &path) const
    {
        const QString root = cleanRoot(m_context.templateRoot);
        return !root.isEmpty() && path.startsWith(root + u'/') ? path.sliced(root.size() + 1) : path;
    }

    // <!-- zuvi-check-disable-next-line CODE… --> silences the line after
    // the comment; <!-- zuvi-check-disable CODE… --> everything up to the
    // next <!-- zuvi-check-enable -->, which ends every region open. No code
    // silences every code; a code silences every code it starts.
    void readSuppressions()
    {
        std::optional<LineIndex> &lines = m_lines;
        QList<Suppression> &rules = m_suppressions;
        QList<qsizetype> open;   // regions not yet ended
        for (const TemplateNode &node : m_analysis.parsed.nodes) {
            if (node.kind != NodeKind::Comment)
                continue;
            const std::optional<Directive> directive = readDirective(at(node.range));
            if (!directive)
                continue;
            const QStringList &codes = directive->codes;
            const Directive::Kind kind = directive->kind;
            if (kind == Directive::Kind::DisableNextLine) {
                if (!lines)
                    lines.emplace(m_text);
                rules.append({lines->position(node.range.end(), ColumnUnit::Utf16).line + 1, 0, 0, codes});
            } else if (kind == Directive::Kind::Disable) {
                open.append(rules.size());
                rules.append({-1, node.range.end(), m_text.size() + 1, codes});
            } else {
                for (const qsizetype region : std::as_const(open))
                    rules[region].to = node.range.start;
                open.clear();
            }
        }
    }

    void suppress()
    {
        if (m_suppressions.isEmpty())
            return;
        m_findings.removeIf([&](const Finding &finding) {
            const qsizetype line = m_lines ? m_lines->position(finding.start, ColumnUnit::Utf16).line : -1;
            return std::any_of(m_suppressions.cbegin(), m_suppressions.cend(), [&](const Suppression &rule) {
                const bool where = rule.line >= 0 ? line == rule.line
                                                  : finding.start >= rule.from && finding.start < rule.to;
                return where
                    && (rule.codes.isEmpty()
                        || std::any_of(rule.codes.cbegin(), rule.codes.cend(),
                                       [&](const QString &code) { return finding.code.startsWith(code); }));
            });
        });
    }

    struct Suppression {
        qsizetype line = -1;   // disable-next-line: the line silenced
        qsizetype from = 0;    // disable: the region silenced
        qsizetype to = 0;
        QStringList codes;
    };

    QStringView m_text;
    const CheckContext &m_context;
    TemplateAnalysis &m_analysis;
    const TagKnowledge &m_knowledge = m_context.knowledge ? *m_context.knowledge : TagKnowledge::catalog();
    QSet<qsizetype> m_faulted;   // nodes with a syntax fault
    QList<Finding> m_findings;
    bool m_keepPieces = true;
    QList<Suppression> m_suppressions;
    std::optional<LineIndex> m_lines;   // where a disable-next-line needs them
};

} // namespace

QList<FileReference> fileReferences(QStringView text, const ParsedTemplate &parsed, const CheckContext &context)
{
    QList<FileReference> references;
    forEachFileReference(text, parsed, context, [&](const FileReference &reference) { references.append(reference); });
    return references;
}

void forEachFileReference(QStringView text, const ParsedTemplate &parsed, const CheckContext &context,
                          const std::function<void(const FileReference &)> &take)
{
    const QString templateRoot = cleanRoot(context.templateRoot);
    const QString siteRoot = cleanRoot(context.siteRoot);
    for (qsizetype i = 0; i < parsed.nodes.size(); ++i) {
        const TemplateNode &node = parsed.nodes[i];
        if (node.kind != NodeKind::Tag || node.form == TagForm::Close)
            continue;
        // Only include and static tags name files: the rest are passed over whole.
        const FileTag fileTag = fileTagOf(text.sliced(node.name.start, node.name.length));
        if (fileTag == FileTag::None)
            continue;
        const bool include = fileTag == FileTag::Include;
        for (const TagAttribute &attribute : parsed.attributesOf(node)) {
            if (!namesFile(fileTag, text.sliced(attribute.name.start, attribute.name.length)))
                continue;
            const QStringView written = text.sliced(attribute.value.start, attribute.value.length);
            const QStringView value = unquoted(written);
            if (isExpression(value) || (attribute.quoted && value.size() == written.size()))
                continue;
            qsizetype from = attribute.value.start + (written.size() - value.size()) / 2;
            const qsizetype valueEnd = from + value.size();
            if (value.trimmed().isEmpty()) {
                take({i, {from, 0}, QString(), false, include});
                continue;
            }
            while (from <= valueEnd) {
                qsizetype to = from;
                while (to < valueEnd && text[to] != u',')
                    ++to;
                // A version or anchor after the name: style.css?v=2
                qsizetype end = from;
                while (end < to && text[end] != u'?' && text[end] != u'#')
                    ++end;
                const QStringView path = text.sliced(from, end - from).trimmed();
                if (!path.isEmpty()) {
                    const QString &root = path.startsWith(u'/') ? siteRoot : templateRoot;
                    const QString resolved = root.isEmpty() ? QString() : resolvedUnder(root, path);
                    take({i, {path.data() - text.data(), path.size()}, resolved,
                                       !resolved.isEmpty() && !isUnder(resolved, root), include});
                }
                from = to + 1;
            }
        }
    }
}

TemplateAnalysis analyseTemplate(QStringView text, const CheckContext &context)
{
    TemplateAnalysis analysis;
    Checker(text, context, analysis, true).run();
    return analysis;
}

QList<Finding> checkTemplate(QStringView text, const CheckContext &context)
{
    TemplateAnalysis analysis;
    Checker(text, context, analysis, false).run();
    return std::move(analysis.findings);
}
