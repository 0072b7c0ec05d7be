#pragma once

#include "shell/pageview.h"

#include <QMap>
#include <QPointer>

class QAbstractButton;
class QButtonGroup;
class QPlainTextEdit;

// PageView over real widgets: the page's output box, its entry buttons and
// the system clipboard.
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
};
