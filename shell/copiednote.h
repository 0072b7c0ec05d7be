#pragma once

#include "shell/boxnote.h"

#include <QTimer>

class QPlainTextEdit;

// "已复制到剪贴板" over the top right corner of an output box, for about a
// second after a copy: the user cannot see the clipboard. A copy while it shows restarts its time, so a held arrow
// key keeps one note up instead of piling notes.
class CopiedNote : public BoxNote
{
    Q_OBJECT
public:
    explicit CopiedNote(QPlainTextEdit *box);

    static constexpr int kShownMilliseconds = 1000;

    void flash();

private:
    QTimer m_hide;
};
