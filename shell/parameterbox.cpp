#include "shell/parameterbox.h"

#include "shell/failurenotice.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Edits up to this many characters, inserted and removed together, go
// through QLineEdit's own undo history.
constexpr qsizetype kShortEdit = 4096;

const QString kNoticeName = QStringLiteral("PasteCutNotice");

// glibc keeps memory freed in the middle of its heap, and after the first
// large block is freed it serves later large blocks (a long text's copies and
// layout) from the heap too: megabytes stay resident after the text is gone
// unless handed back explicitly.
void handBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

ParameterBox::ParameterBox(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(kMaxLength);
    connect(this, &QLineEdit::textChanged, this, &ParameterBox::onTextChanged);
}

void ParameterBox::onTextChanged(const QString &text)
{
    const bool wasLong = m_holdsLongText;
    m_holdsLongText = text.size() > kShortEdit;
    // Once the page has rebuilt its snippet from the short text and the long
    // one's copies are gone.
    if (wasLong && !m_holdsLongText)
        QTimer::singleShot(0, this, handBackFreedMemory);
}

QString pasteCutMessage()
{
    return QStringLiteral("粘贴的文本过长：输入框最多容纳 %1 个字符，超出的部分已截去。").arg(ParameterBox::kMaxLength);
}

bool ParameterBox::fitsAsAShortEdit(const QString &pasted) const
{
    const qsizetype removed = selectionLength();
    return pasted.size() + removed <= kShortEdit && text().size() - removed + pasted.size() <= maxLength();
}

qsizetype ParameterBox::pasteText(const QString &pasted)
{
    if (isReadOnly())
        return 0;
    const QString current = text();
    const qsizetype removed = selectionLength();
    const qsizetype start = removed > 0 ? selectionStart() : cursorPosition();
    QString kept = pasted.left(maxLength() - (current.size() - removed));
    // Never half of a character outside the basic plane.
    if (kept.size() < pasted.size() && !kept.isEmpty() && kept.back().isHighSurrogate())
        kept.chop(1);

    if (kept.size() + removed > kShortEdit) {
        // One change of the whole text: the page rebuilds its snippet once,
        // and the undo history starts afresh instead of growing.
        setText(current.left(start) + kept + current.mid(start + removed));
        setCursorPosition(int(start + kept.size()));
    } else if (!kept.isEmpty() || removed > 0) {
        insert(kept);
    }
    if (kept.size() < pasted.size())
        tellCut();
    return kept.size();
}

void ParameterBox::pasteFrom(QClipboard::Mode mode)
{
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    // QLineEdit's own paste keeps the paste one step of undo on its own.
    if (mode == QClipboard::Clipboard && fitsAsAShortEdit(pasted))
        QLineEdit::paste();
    else
        pasteText(pasted);
}

void ParameterBox::tellCut()
{
    // One notice per page window, shown again for every paste that is cut;
    // it never takes the keyboard from the box.
    QWidget *page = window();
    auto *notice = page->findChild<FailureNotice *>(kNoticeName, Qt::FindDirectChildrenOnly);
    if (!notice)
        notice = new FailureNotice(page, kNoticeName, false);
    notice->showFailure(pasteCutMessage());
}

void ParameterBox::eraseSelection(bool copyFirst)
{
    if (copyFirst)
        QGuiApplication::clipboard()->setText(selectedText());
    const int start = selectionStart();
    const QString current = text();
    setText(current.left(start) + current.mid(start + selectionLength()));
    setCursorPosition(start);
}

void ParameterBox::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() && selectionLength() > kShortEdit
        && (event->matches(QKeySequence::Cut) || event->key() == Qt::Key_Backspace
            || event->key() == Qt::Key_Delete)) {
        eraseSelection(event->matches(QKeySequence::Cut));
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        // Ctrl+Shift+Insert pastes the X11 selection, as in any line edit.
        const bool selection = event->key() == Qt::Key_Insert
                               && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)
                               && QGuiApplication::clipboard()->supportsSelection();
        pasteFrom(selection ? QClipboard::Selection : QClipboard::Clipboard);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ParameterBox::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the X11 selection at the cursor.
    if (event->button() == Qt::MiddleButton && !isReadOnly() && QGuiApplication::clipboard()->supportsSelection()) {
        const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Selection);
        deselect();
        if (!fitsAsAShortEdit(pasted)) {
            pasteText(pasted);
            event->accept();
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void ParameterBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The menu's Paste goes the way Ctrl+V goes. QLineEdit names the action
    // by its caption alone, in QLineEdit's own translation.
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->text().startsWith(pasteCaption)) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void ParameterBox::dropEvent(QDropEvent *event)
{
    // Text dragged in from elsewhere lands where it is dropped, and is
    // selected there, as QLineEdit does; a move within the box never grows it.
    const QString dropped = event->mimeData()->text();
    if (event->source() != this && !dropped.isNull() && !isReadOnly()) {
        const int at = cursorPositionAt(event->position().toPoint());
        setCursorPosition(at);
        if (!fitsAsAShortEdit(dropped)) {
            event->acceptProposedAction();
            setSelection(at, int(pasteText(dropped)));
            return;
        }
    }
    QLineEdit::dropEvent(event);
}
