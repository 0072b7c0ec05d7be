#pragma once

#include <QLabel>
#include <QTimer>

class QPlainTextEdit;

// "已复制到剪贴板" over the top right corner of an output box, for about a
// second after a copy: the user cannot see the clipboard. A child of the
// page, drawn over the box: it takes no focus, lets the mouse through and
// moves nothing. A copy while it shows restarts its time, so a held arrow
// key keeps one note up instead of piling notes.
class CopiedNote : public QLabel
{
    Q_OBJECT
public:
    explicit CopiedNote(QPlainTextEdit *box);

    static constexpr int kShownMilliseconds = 1000;

    void flash();

private:
    QPlainTextEdit *m_box;
    QTimer m_hide;
};
