// The home page builders on any inputs, compared with the model: the menu
// loop, the article list in every layout, the other-field and time-style
// lines. Whatever the inputs, the snippet is the model's, and a text outside
// a list writes nothing where the description says so.
#include "core/catalog/homebuilders.h"
#include "core/catalog/numeric.h"
#include "core/catalog/snippet.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/model/toolmodel.h"

using namespace toolmodel;

namespace {

const QString kUntouched = QStringLiteral("untouched");

void checkMenu(const QString &attribute, const QString &columnId, const QString &columnCount)
{
    ToolModel model;
    model.comboChosen(kHome, QStringLiteral("columnAttribute"), attribute);
    model.boxChanged(kHome, QStringLiteral("columnId"), columnId);
    model.boxChanged(kHome, QStringLiteral("columnCount"), columnCount);
    const QString text = snippetText(navigationMenuSnippet(attribute, columnId, columnCount));
    fuzzCheck(text == model.page(kHome).output, "navigation menu as the model",
              fuzzShown(text) + QStringLiteral("\nmodel: ") + fuzzShown(model.page(kHome).output));
}

void checkArticleList(int option, const ArticleListInputs &in)
{
    ToolModel model;
    model.comboChosen(kHome, QStringLiteral("articleAttribute"), in.attribute);
    model.comboChosen(kHome, QStringLiteral("articleOrder"), in.ordering);
    model.boxChanged(kHome, QStringLiteral("articleColumnId"), in.columnId);
    model.boxChanged(kHome, QStringLiteral("articleTitleLength"), in.titleLength);
    model.boxChanged(kHome, QStringLiteral("articleSummaryLength"), in.summaryLength);
    model.boxChanged(kHome, QStringLiteral("articleRows"), in.rows);
    const std::optional<QStringList> lines = articleListSnippet(option, in);
    if (option < 0 || option > 5) {
        fuzzCheck(!lines, "no snippet for an unknown layout option", QString::number(option));
        return;
    }
    model.clickOption(kHome, articleOptionName(option));
    fuzzCheck(lines && snippetText(*lines) == model.page(kHome).output, "article list as the model",
              QStringLiteral("option %1: ").arg(option) + (lines ? fuzzShown(snippetText(*lines)) : QStringLiteral("none"))
                  + QStringLiteral("\nmodel: ") + fuzzShown(model.page(kHome).output));
    if (option < 5)
        fuzzCheck(lines->first() == articleListOpeningLine(in), "the list snippet opens with the opening line");
}

void checkOneLine(const QString &combo, const std::optional<QStringList> &lines, const QString &item)
{
    ToolModel model;
    model.outputEdited(kHome, kUntouched);
    model.comboChosen(kHome, combo, item);
    const QString expected = model.page(kHome).output;
    if (expected == kUntouched)
        fuzzCheck(!lines, "a text outside the list writes nothing", combo + QStringLiteral(": ") + fuzzShown(item));
    else
        fuzzCheck(lines && snippetText(*lines) == expected, "one line or an emptied box as the model",
                  combo + QStringLiteral(": ") + fuzzShown(item));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> f = fuzzFields(data, size, 12);
    auto text = [&](int i) { return QString::fromUtf8(f[i]); };

    checkMenu(fuzzChoice(f[0], columnAttributes()), text(1), text(2));

    const ArticleListInputs in{.columnId = text(3),
                               .attribute = fuzzChoice(f[4], articleAttributes()),
                               .titleLength = text(5),
                               .summaryLength = text(6),
                               .rows = text(7),
                               .ordering = fuzzChoice(f[8], orderings())};
    // Layout options -3..8: the six real ones and some that do not exist.
    const int option = f[9].isEmpty() ? 0 : int(uchar(f[9][0]) % 12) - 3;
    checkArticleList(option, in);

    const QString field = fuzzChoice(f[10], otherFields());
    checkOneLine(QStringLiteral("otherField"), otherFieldSnippet(field), field);
    const QString style = fuzzChoice(f[11], timeStyles());
    checkOneLine(QStringLiteral("articleTimeStyle"), timeStyleSnippet(style), style);
    return 0;
}
