// The template checker on any text, with a site tag and every include
// taken as missing: findings in order of position, inside the text, each
// with a code of the rule table and its severity, a one-line message, and a
// quick fix inside the text; blocks nested inside their parents, each tag
// tied to the block it opens or closes, every fault naming real pieces.
#include "core/check/checkrules.h"
#include "core/catalog/tagknowledge.h"
#include "core/check/templatecheck.h"
#include "tests/fuzz/fuzzsupport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    CheckContext context;
    static const TagKnowledge site =
        TagKnowledge::catalog().withSiteTags({SiteTag{QStringLiteral("banner"), true, {QStringLiteral("pos")}}});
    context.knowledge = &site;
    context.templateRoot = QStringLiteral("/theme");
    context.siteRoot = QStringLiteral("/site");
    context.fileExists = [](const QString &) { return false; };
    const TemplateAnalysis analysis = analyseTemplate(text, context);
    qsizetype last = 0;
    for (const Finding &f : analysis.findings) {
        fuzzCheck(f.start >= last && f.length >= 0 && f.start + f.length <= text.size(), "findings in order, inside the text",
                  fuzzShown(text));
        last = f.start;
        const auto rule = std::find_if(checkRules().cbegin(), checkRules().cend(),
                                       [&](const CheckRule &r) { return r.code == f.code; });
        fuzzCheck(rule != checkRules().cend() && rule->severity == f.severity, "a code of the table, with its severity", f.code);
        fuzzCheck(!f.message.isEmpty() && !f.message.contains(u'\n') && !f.message.contains(u'\r'), "a one-line message",
                  f.message);
        qsizetype editEnd = 0;
        for (const TextEdit &edit : f.fix) {
            fuzzCheck(edit.start >= editEnd && edit.length >= 0 && edit.start + edit.length <= text.size(),
                      "a quick fix's edits apart, in order, inside the text", fuzzShown(text));
            editEnd = edit.start + edit.length;
        }
    }
    const TemplateBlocks &blocks = analysis.blocks;
    const QList<TemplateNode> &nodes = analysis.parsed.nodes;
    fuzzCheck(blocks.blockOfNode.size() == nodes.size(), "a block per node");
    for (qsizetype b = 0; b < blocks.blocks.size(); ++b) {
        const TemplateBlock &block = blocks.blocks[b];
        fuzzCheck(blocks.blockOfNode[block.open] == b && (block.close < 0 || blocks.blockOfNode[block.close] == b),
                  "a block's tags tied to it", fuzzShown(text));
        fuzzCheck(block.content.length >= 0 && block.content.start >= nodes[block.open].range.end()
                      && block.content.end() <= text.size(),
                  "a block's content after its opening tag", fuzzShown(text));
        fuzzCheck(block.parent < b, "a parent opened before its blocks", fuzzShown(text));
        if (block.parent >= 0) {
            const TextRange &outer = blocks.blocks[block.parent].content;
            fuzzCheck(block.content.start >= outer.start && block.content.end() <= outer.end(), "blocks nested in their parents",
                      fuzzShown(text));
        }
        fuzzCheck(blocks.blockAt(block.content.start) >= b, "the innermost block at a content's start", fuzzShown(text));
    }
    for (const BlockFault &fault : blocks.faults) {
        fuzzCheck(fault.node >= -1 && fault.node < nodes.size() && fault.block >= -1 && fault.block < blocks.blocks.size(),
                  "a fault names real pieces", fuzzShown(text));
    }
    return 0;
}
