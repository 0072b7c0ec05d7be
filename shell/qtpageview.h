#pragma once

#include "shell/pageview.h"

#include <QMap>
#include <QPointer>

class FailureNotice;
class QAbstractButton;
class QButtonGroup;
class QPlainTextEdit;

// PageView over real widgets: the page's output box, its entry buttons and
// the system clipboard. Where the clipboard cannot be written, the snippet
// stays in the output box and a notice tells the user to copy it from there.
class QtPageView : public PageView
{
public:
    // `group` holds the entries (and on the home page the layout options
    // too) as one exclusive group.
    QtPageView(QPlainTextEdit *output, QMap<qint16, QAbstractButton *> entries, QButtonGroup *group);

    QString GetOutputText() const override;
    void SetOutputText(const QString &text) override;
    qint16 HighestEntryIndex() const override;
    void SetEntryValue(qint16 index, bool selected) override;
    void SetEntryTip(qint16 index, const QString &text) override;
    void SetClipboardText(const QString &text) override;

private:
    QPointer<QPlainTextEdit> m_output;
    QMap<qint16, QAbstractButton *> m_entries;
    QButtonGroup *m_group;
    // The box turns CR LF into paragraph breaks; the text as written is kept
    // so that the clipboard gets it byte for byte. Once the user edits the
    // box, the box's own text counts, with CR LF line ends.
    QString m_written;
    bool m_userEdited = false;
    bool m_writing = false;
    // Whether the last copy failed; the user has been told and is not told
    // again until a copy succeeds.
    bool m_clipboardFailing = false;
    QPointer<FailureNotice> m_clipboardNotice;
};

// What the user is told when the clipboard cannot be written.
QString clipboardFailureMessage();
