#include "shell/notkeptnote.h"

#include <QPlainTextEdit>

namespace {

const QString kName = QStringLiteral("NotKeptNote");

// An attribute can be as long as the search box holds; the note names it
// by its start.
constexpr qsizetype kShownItemLength = 80;

} // namespace

QString notKeptMessage(const QStringList &notKept)
{
    QStringList shown;
    for (const QString &item : notKept)
        shown << (item.size() > kShownItemLength ? item.left(kShownItemLength) + u'…' : item);
    return QStringLiteral("未保留：") + shown.join(u'、');
}

NotKeptNote::NotKeptNote(QPlainTextEdit *box) : BoxNote(box)
{
    setObjectName(kName);
    setWordWrap(true);
    connect(box, &QPlainTextEdit::textChanged, this, &QWidget::hide);
}

NotKeptNote *NotKeptNote::over(QPlainTextEdit *box)
{
    auto *note = box->parentWidget()->findChild<NotKeptNote *>(kName, Qt::FindDirectChildrenOnly);
    return note ? note : new NotKeptNote(box);
}

void NotKeptNote::showItems(const QStringList &notKept)
{
    if (notKept.isEmpty()) {
        hide();
        return;
    }
    setText(notKeptMessage(notKept));
    // Across the foot of the box's text area, inside its frame.
    const QWidget *viewport = box()->viewport();
    const QPoint bottomLeft = viewport->mapTo(parentWidget(), QPoint(0, viewport->height()));
    const int width = viewport->width() - 4;
    setFixedWidth(width);
    const int height = heightForWidth(width);
    move(bottomLeft.x() + 2, bottomLeft.y() - height - 2);
    setFixedHeight(height);
    raise();
    show();
}
