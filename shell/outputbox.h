#pragma once

#include <QPlainTextEdit>

// A page's output box: the generated template, coloured, in the code face,
// wrapped at the box's width; Tab leaves it.
//
// The code face is a font engine of its own, with a search for the faces
// that carry the Chinese it lacks: about a millisecond, which an empty box
// would spend on the way to the page's first paint for nothing, since
// nothing in it shows which face it has. A box with nothing to show takes the
// face with its first text, or when it takes the focus (before its caret
// shows) or text is pasted or dropped into it.
class OutputBox : public QPlainTextEdit
{
public:
    explicit OutputBox(QWidget *parent = nullptr);

    // Replaces the text, in the code face.
    void setText(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void takeCodeFace();

    bool m_hasCodeFace = false;
};
