// The numeric test and the parameter fragment against a regular expression
// of the rule: blanks around an optional sign, digits with at most one
// decimal point and at least one digit, an optional exponent; ASCII digits.
#include "core/catalog/numeric.h"
#include "core/catalog/snippet.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/model/toolmodel.h"

#include <cstring>
#include <regex>

namespace {

// Beyond this length the backtracking of std::regex gets slow; the model's
// own numeric rule still checks such texts.
constexpr qsizetype kRegexLimit = 256;

bool referenceNumeric(const QString &text, bool *decided)
{
    static const std::regex number(" *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)? *");
    std::string ascii;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            *decided = true;   // no number holds a character outside ASCII
            return false;
        }
        ascii += char(c.unicode());
    }
    *decided = text.size() <= kRegexLimit;
    return *decided && std::regex_match(ascii, number);
}

void checkText(const QString &name, const QString &text)
{
    const bool numeric = isNumeric(text);
    bool decided = false;
    const bool expected = referenceNumeric(text, &decided);
    if (decided)
        fuzzCheck(numeric == expected, "isNumeric agrees with the regular expression", fuzzShown(text));
    fuzzCheck(numeric == toolmodel::isNumber(text), "isNumeric agrees with the model", fuzzShown(text));

    const QString fragment = numericFragment(name, text);
    fuzzCheck(fragment.isEmpty() == (text.isEmpty() || !numeric), "a fragment exactly for numeric texts",
              fuzzShown(text));
    fuzzCheck(fragment.isEmpty() || fragment == QStringLiteral(" ") + name + QStringLiteral("='") + text + QStringLiteral("'"),
              "the fragment holds the text exactly as typed", fuzzShown(fragment));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString names[] = {QStringLiteral("titlelen"), QStringLiteral("infolen"), QStringLiteral("pagesize"),
                                    QStringLiteral("typeid"), QStringLiteral("row")};
    const QString &name = names[size % std::size(names)];
    // The bytes as UTF-8 text, and as raw UTF-16 with any surrogates.
    checkText(name, QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    checkText(name, utf16);
    return 0;
}
