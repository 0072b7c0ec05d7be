#pragma once

#include "shell/boxnote.h"

#include <QStringList>

class QPlainTextEdit;

// "未保留：…" over the foot of an output box after a tag was read back into
// its builder: what of the tag the builder could not keep. It stays while the box shows the snippet it
// speaks of, and goes when the box's text next changes.
class NotKeptNote : public BoxNote
{
    Q_OBJECT
public:
    explicit NotKeptNote(QPlainTextEdit *box);

    // The note of the page that `box` stands on, made at its first use.
    static NotKeptNote *over(QPlainTextEdit *box);

    // Shows the items; with none, hides the note.
    void showItems(const QStringList &notKept);
};

// The note's text: "未保留：" and the items.
QString notKeptMessage(const QStringList &notKept);
