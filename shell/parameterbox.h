#pragma once

#include <QClipboard>
#include <QLineEdit>

// A parameter box of a tag page, and the search palette's query: one line,
// at most kMaxLength characters.
//
// A paste that does not fit is cut at the limit, and the user is told by a
// notice that leaves the keyboard in the box. A long paste, and the erasing
// of a long selection, replace the text in one step instead of going through
// QLineEdit's undo history, which keeps a step for every character inserted
// or removed, for the life of the box. Such an edit cannot be undone; a short one
// (the numbers the boxes are for) can. When a long text has left the box,
// the memory it took is handed back to the system.
class ParameterBox : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int kMaxLength = 65535;

    explicit ParameterBox(QWidget *parent = nullptr);

    // Puts text in as a paste does, over the selection or at the cursor, cut
    // to the room left; returns the number of characters kept.
    qsizetype pasteText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void pasteFrom(QClipboard::Mode mode);
    // Whether QLineEdit's own paste would do the same: the text fits and the
    // edit is short enough for the undo history.
    bool fitsAsAShortEdit(const QString &text) const;
    void tellCut();
    // Erases the selection in one step (and copies it first, for a cut).
    void eraseSelection(bool copyFirst);
    void onTextChanged(const QString &text);

    bool m_holdsLongText = false;
};

// What the user is told when a paste is cut.
QString pasteCutMessage();
