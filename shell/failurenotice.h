#pragma once

#include <QDialog>

class Clipboard;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A notice that something the user asked for could not be done, with what
// the user can do instead. It never blocks the program: it is not modal, it
// is reused for the next failure of its kind, and the user closes it when
// done. A detail line (an address, say) is shown read-only so that it can be
// selected and copied.
class FailureNotice : public QDialog
{
    Q_OBJECT
public:
    // `takesFocus`: whether showing it moves the keyboard focus to it. A
    // notice that may come up while the user types stays in the background.
    FailureNotice(QWidget *parent, const QString &objectName, bool takesFocus);

    // Adds a button with `caption` that puts the detail line on
    // `clipboard`; it is shown only with a detail.
    void offerDetailCopy(const QString &caption, Clipboard &clipboard);

    void showFailure(const QString &message, const QString &detail = QString());

    QString message() const;
    QLineEdit *detailLine() const { return m_detail; }
    QPushButton *copyButton() const { return m_copy; }   // nullptr unless offered

private:
    void copyDetail();

    QLabel *m_message;
    QLineEdit *m_detail;
    QDialogButtonBox *m_buttons;
    QPushButton *m_copy = nullptr;
    Clipboard *m_clipboard = nullptr;   // set with m_copy
    QString m_copyCaption;
    bool m_takesFocus;
};
