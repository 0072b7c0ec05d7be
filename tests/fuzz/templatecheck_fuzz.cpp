// The template checker on any text, with a site tag and every include
// taken as missing: findings in order of position, inside the text, with a
// code of a known group, a message, and a severity matching the code.
#include "core/templatecheck.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    CheckContext context;
    context.siteTags = {SiteTag{QStringLiteral("banner"), true, {QStringLiteral("pos")}}};
    context.templateRoot = QStringLiteral("/theme");
    context.siteRoot = QStringLiteral("/site");
    context.fileExists = [](const QString &) { return false; };
    qsizetype last = 0;
    for (const Finding &f : checkTemplate(text, context)) {
        fuzzCheck(f.start >= last && f.length >= 0 && f.start + f.length <= text.size(), "findings in order, inside the text",
                  fuzzShown(text));
        last = f.start;
        fuzzCheck(f.code.size() == 4 && (f.code[0] == u'E') == (f.severity == Severity::Error), "a code matching its severity",
                  f.code);
        fuzzCheck(!f.message.isEmpty() && !f.message.contains(u'\n'), "a one-line message", f.message);
    }
    return 0;
}
