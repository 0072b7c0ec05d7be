#pragma once

#include "core/catalog/pageview.h"

#include <QPointer>

class Clipboard;
class CopiedNote;
class FailureNotice;
class OutputBox;

// PageView over a page's output box and the clipboard it is given. A copy that
// arrived is told by a short note over the box; where the clipboard cannot
// be written, the snippet stays in the output box and a notice tells the user
// to copy it from there.
class QtPageView : public PageView
{
public:
    QtPageView(OutputBox *output, Clipboard &clipboard);

    QString outputText() const override;
    void setOutputText(const QString &text) override;
    void copyToClipboard(const QString &text) override;

private:
    QPointer<OutputBox> m_output;
    Clipboard &m_clipboard;
    // Whether the last copy failed; the user has been told and is not told
    // again until a copy succeeds.
    bool m_clipboardFailing = false;
    QPointer<FailureNotice> m_clipboardNotice;
    QPointer<CopiedNote> m_copiedNote;   // made at the first copy
};

// What the user is told when the clipboard cannot be written.
QString clipboardFailureMessage();
