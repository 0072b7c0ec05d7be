// Reading a builder's tag back from any text: a reading names a builder and
// one of its layouts, holds one value per input that its box or drop-down
// can show, and is a fixed point: its rebuilt snippet reads back to the same
// inputs and layout with nothing left out, and builds the same bytes again.
#include "core/catalog/builderreading.h"
#include "core/catalog/numeric.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/snippet.h"
#include "core/catalog/tagbuilder.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<BuilderReading> reading = readBuilderSnippet(text);
    if (!reading)
        return 0;
    fuzzCheck(reading->layout >= 0 && reading->layout < reading->builder->layoutCount(), "a layout of the builder",
              fuzzShown(text));
    const TagBuilder &builder = reading->builder->builder(reading->layout);
    fuzzCheck(reading->inputs.size() == builder.inputCount(), "one value per input", fuzzShown(text));
    qsizetype input = 0;
    for (const OpeningPart &part : builder.opening) {
        if (part.kind == OpeningPart::Kind::Number) {
            const QString &box = reading->inputs[input++];
            fuzzCheck(box.isEmpty() || isNumeric(box), "a box holds a number or nothing", fuzzShown(text));
        } else if (part.kind == OpeningPart::Kind::Choice) {
            fuzzCheck(choiceItems(*part.choices).contains(reading->inputs[input++]), "a drop-down holds one of its items",
                      fuzzShown(text));
        }
    }

    const QString rebuilt = snippetText(reading->lines());
    const std::optional<BuilderReading> again = readBuilderSnippet(rebuilt);
    fuzzCheck(again.has_value(), "the rebuilt snippet reads back", fuzzShown(text));
    fuzzCheck(again->builder == reading->builder && again->layout == reading->layout && again->inputs == reading->inputs,
              "the rebuilt snippet reads back to the same inputs", fuzzShown(text));
    fuzzCheck(again->notKept.isEmpty(), "the rebuilt snippet keeps everything", fuzzShown(rebuilt));
    fuzzCheck(snippetText(again->lines()) == rebuilt, "the same bytes built again", fuzzShown(text));
    return 0;
}
