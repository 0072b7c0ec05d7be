#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

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

    void showFailure(const QString &message, const QString &detail = QString());

    QString message() const;
    QLineEdit *detailLine() const { return m_detail; }

private:
    QLabel *m_message;
    QLineEdit *m_detail;
    bool m_takesFocus;
};
