// The template parser on any text: pieces in order and inside the text,
// names, attributes and filters inside their piece, pieces other than
// comments apart, pieces in a comment starting inside it, the node at an
// offset holding it, the cursor's context there fitting the text, and every
// fault inside the text and tied to a node.
#include "core/template/cursorcontext.h"
#include "core/template/templateparser.h"
#include "tests/fuzz/fuzzsupport.h"

namespace {

bool inside(const TextRange &inner, const TextRange &outer)
{
    return inner.length >= 0 && inner.start >= outer.start && inner.end() <= outer.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const ParsedTemplate parsed = parseTemplate(text);
    const TextRange whole{0, text.size()};
    qsizetype lastStart = 0;
    qsizetype lastEnd = 0;  // of the last piece that is not a comment
    for (const TemplateNode &node : parsed.nodes) {
        fuzzCheck(inside(node.range, whole), "a node inside the text", fuzzShown(text));
        fuzzCheck(node.range.start >= lastStart, "nodes in order of their start", fuzzShown(text));
        lastStart = node.range.start;
        const qsizetype index = &node - parsed.nodes.data();
        fuzzCheck(node.comment < index && (node.comment < 0 || parsed.nodes[node.comment].range.contains(node.range.start)),
                  "a piece in a comment starts inside it", fuzzShown(text));
        if (node.kind == NodeKind::Comment) {
            fuzzCheck(text.sliced(node.range.start).startsWith(QLatin1String("<!--")), "a comment starts with <!--");
            continue;
        }
        fuzzCheck(node.range.start >= lastEnd, "pieces other than comments do not overlap", fuzzShown(text));
        fuzzCheck(node.kind == NodeKind::Php || node.range.length > 0, "a tag or placeholder covers text");
        lastEnd = node.range.end();
        if (node.kind == NodeKind::Tag) {
            fuzzCheck(inside(node.name, node.range) && node.name.length > 0, "a tag's name inside it", fuzzShown(text));
            for (const TagAttribute &attribute : parsed.attributesOf(node)) {
                // A value, even an empty one, lies inside its tag.
                fuzzCheck(inside(attribute.name, node.range) && inside(attribute.value, node.range),
                          "attributes inside their tag", fuzzShown(text));
                fuzzCheck(!attribute.quoted || text[attribute.value.start] == u'"' || text[attribute.value.start] == u'\'',
                          "a quoted value starts with its quote", fuzzShown(text));
            }
        }
        if (node.kind == NodeKind::Placeholder) {
            fuzzCheck(inside(node.variable, node.range), "a placeholder's variable inside it", fuzzShown(text));
            for (const TextRange &filter : parsed.filtersOf(node))
                fuzzCheck(inside(filter, node.range), "filters inside their placeholder", fuzzShown(text));
        }
    }
    const qsizetype probe = text.size() / 2;
    const qsizetype at = nodeAt(parsed, probe);
    fuzzCheck(at < 0 || parsed.nodes[at].range.contains(probe), "the node at an offset holds it", fuzzShown(text));
    const CursorContext cursor = cursorContextAt(text, parsed, probe);
    fuzzCheck(cursor.typed.end() == probe && cursor.node < parsed.nodes.size()
                  && (cursor.node < 0 || parsed.nodes[cursor.node].range.contains(probe))
                  && (cursor.attribute < 0 || cursor.attribute < parsed.attributesOf(parsed.nodes[cursor.node]).size()),
              "the cursor's context at an offset fits the text", fuzzShown(text));
    for (const SyntaxError &error : parsed.errors) {
        fuzzCheck(inside(error.range, whole) && error.node >= 0 && error.node < parsed.nodes.size(),
                  "a fault inside the text, tied to a node", fuzzShown(text));
    }
    return 0;
}
