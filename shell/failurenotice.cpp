#include "shell/failurenotice.h"

#include "core/product.h"
#include "shell/platform/clipboard.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FailureNotice::FailureNotice(QWidget *parent, const QString &objectName, bool takesFocus)
    : QDialog(parent),
      m_message(new QLabel(this)),
      m_detail(new QLineEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Close, this)),
      m_takesFocus(takesFocus)
{
    setObjectName(objectName);
    // Showing any other window closes an open popup (the search palette);
    // over a popup the notice is a tool window, which leaves it open.
    if (parent && parent->window()->windowType() == Qt::Popup)
        setWindowFlags(Qt::Tool);
    setWindowTitle(windowCaption());
    setModal(false);
    setAttribute(Qt::WA_ShowWithoutActivating, !takesFocus);

    auto *layout = new QVBoxLayout(this);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    m_detail->setObjectName(QStringLiteral("Detail"));
    m_detail->setReadOnly(true);
    layout->addWidget(m_detail);
    m_buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_buttons);
}

void FailureNotice::offerDetailCopy(const QString &caption, Clipboard &clipboard)
{
    m_clipboard = &clipboard;
    if (!m_copy) {
        m_copy = m_buttons->addButton(caption, QDialogButtonBox::ActionRole);
        m_copy->setObjectName(QStringLiteral("CopyDetail"));
        connect(m_copy, &QPushButton::clicked, this, &FailureNotice::copyDetail);
    }
    m_copyCaption = caption;
    m_copy->setText(caption);
    m_copy->setVisible(!m_detail->text().isEmpty());
}

void FailureNotice::copyDetail()
{
    // The caption says how it went: the user cannot see the clipboard, and a
    // refused write leaves the line to be copied by hand.
    m_copy->setText(m_clipboard->put(m_detail->text()) ? QStringLiteral("已复制") : QStringLiteral("复制失败，请手动复制"));
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
    if (m_copy) {
        // A new detail has not been copied yet.
        m_copy->setText(m_copyCaption);
        m_copy->setVisible(!detail.isEmpty());
    }
    show();
    raise();
    if (m_takesFocus)
        activateWindow();
}
