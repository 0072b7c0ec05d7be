#pragma once

#include <QLabel>

class QPlainTextEdit;

// A short note over an output box, drawn as the platform draws a tooltip: a
// child of the page above the box that takes no focus, lets the mouse
// through and moves nothing. Hidden until its owner shows it.
class BoxNote : public QLabel
{
    Q_OBJECT
protected:
    explicit BoxNote(QPlainTextEdit *box);

    QPlainTextEdit *box() const { return m_box; }

private:
    QPlainTextEdit *m_box;
};
