#include "shell/builderfill.h"

#include "core/catalog/builderreading.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/pageview.h"
#include "core/catalog/snippet.h"
#include "shell/catalogpage.h"
#include "shell/notkeptnote.h"
#include "shell/outputbox.h"
#include "shell/parameterbox.h"

#include <QAbstractButton>
#include <QComboBox>

namespace {

void typeInto(QLineEdit *box, const QString &text)
{
    if (box->text() == text)
        return;
    // Over the whole text, as a paste over a selection: one step of undo,
    // and a long text goes the way a long paste goes.
    box->selectAll();
    if (auto *parameterBox = qobject_cast<ParameterBox *>(box))
        parameterBox->pasteText(text);
    else
        box->insert(text);
}

void pick(QComboBox *dropDown, const QString &item)
{
    const int index = dropDown->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    Q_ASSERT(index >= 0);
    dropDown->setCurrentIndex(index);
    // The pages rebuild on `activated`, what a pick by the user sends,
    // also for the item already shown.
    emit dropDown->activated(index);
}

} // namespace

void fillBuilder(CatalogPage &page, const BuilderReading &reading)
{
    const PageBuilder &builder = *reading.builder;
    for (qsizetype i = 0; i < reading.inputs.size(); ++i) {
        const QString name = QString::fromLatin1(builder.inputControls[size_t(i)]);
        QWidget *control = page.widget(name);
        if (auto *box = qobject_cast<QLineEdit *>(control))
            typeInto(box, reading.inputs[i]);
        else
            pick(page.widget<QComboBox>(name), reading.inputs[i]);
    }
    if (!builder.layoutOptions.empty())
        page.widget<QAbstractButton>(QString::fromLatin1(builder.layoutOptions[size_t(reading.layout)]))->click();
    // A page that copies only for some of its boxes, or a box whose text did
    // not change, would leave an older snippet in place.
    page.view().present(snippetText(reading.lines()));
    QWidget *first = page.widget(QString::fromLatin1(builder.firstInput));
    first->setFocus(Qt::OtherFocusReason);
    NotKeptNote::over(page.outputBox())->showItems(reading.notKept);
}
