// The list page's list tag builder on any three box texts, compared with the
// model: four lines, the opening tag with titlelen, infolen and pagesize in
// that order for the numeric texts only, each exactly as typed.
#include "core/catalog/listtag.h"
#include "core/catalog/numeric.h"
#include "core/catalog/snippet.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/model/toolmodel.h"

using namespace toolmodel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> f = fuzzFields(data, size, 3);
    const QString titleLen = QString::fromUtf8(f[0]);
    const QString infoLen = QString::fromUtf8(f[1]);
    const QString pageSize = QString::fromUtf8(f[2]);

    ToolModel model;
    model.boxChanged(kList, QStringLiteral("listTitleLength"), titleLen);
    model.boxChanged(kList, QStringLiteral("listSummaryLength"), infoLen);
    model.boxChanged(kList, QStringLiteral("listPageSize"), pageSize);

    const QStringList lines = listTagSnippet(titleLen, infoLen, pageSize);
    fuzzCheck(lines.size() == 4, "four lines");
    fuzzCheck(snippetText(lines) == model.page(kList).output, "list tag as the model",
              fuzzShown(snippetText(lines)) + QStringLiteral("\nmodel: ") + fuzzShown(model.page(kList).output));
    return 0;
}
