#include "shell/failurenotice.h"

#include "core/product.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FailureNotice::FailureNotice(QWidget *parent, const QString &objectName, bool takesFocus)
    : QDialog(parent), m_message(new QLabel(this)), m_detail(new QLineEdit(this)), m_takesFocus(takesFocus)
{
    setObjectName(objectName);
    setWindowTitle(windowCaption());
    setModal(false);
    setAttribute(Qt::WA_ShowWithoutActivating, !takesFocus);

    auto *layout = new QVBoxLayout(this);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    m_detail->setObjectName(QStringLiteral("Detail"));
    m_detail->setReadOnly(true);
    layout->addWidget(m_detail);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString FailureNotice::message() const
{
    return m_message->text();
}

void FailureNotice::showFailure(const QString &message, const QString &detail)
{
    m_message->setText(message);
    m_detail->setVisible(!detail.isEmpty());
    m_detail->setText(detail);
    m_detail->setCursorPosition(0);
    m_detail->setMinimumWidth(detail.isEmpty() ? 0 : m_detail->fontMetrics().horizontalAdvance(detail) + 24);
    show();
    raise();
    if (m_takesFocus)
        activateWindow();
}
