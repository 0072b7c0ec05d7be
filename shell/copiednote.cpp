#include "shell/copiednote.h"

#include <QPlainTextEdit>

CopiedNote::CopiedNote(QPlainTextEdit *box) : QLabel(box->parentWidget()), m_box(box)
{
    setObjectName(QStringLiteral("CopiedNote"));
    setText(QStringLiteral("已复制到剪贴板"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Drawn as the platform draws a tooltip.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(2);
    hide();

    m_hide.setSingleShot(true);
    m_hide.setInterval(kShownMilliseconds);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void CopiedNote::flash()
{
    adjustSize();
    // Inside the box's frame, clear of its scroll bar.
    const QWidget *viewport = m_box->viewport();
    const QPoint topRight = viewport->mapTo(parentWidget(), QPoint(viewport->width(), 0));
    move(topRight.x() - width() - 2, topRight.y() + 2);
    raise();
    show();
    m_hide.start();
}
