#include "shell/copiednote.h"

#include <QPlainTextEdit>

CopiedNote::CopiedNote(QPlainTextEdit *box) : BoxNote(box)
{
    setObjectName(QStringLiteral("CopiedNote"));
    setText(QStringLiteral("已复制到剪贴板"));
    m_hide.setSingleShot(true);
    m_hide.setInterval(kShownMilliseconds);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void CopiedNote::flash()
{
    adjustSize();
    // Inside the box's frame, clear of its scroll bar.
    const QWidget *viewport = box()->viewport();
    const QPoint topRight = viewport->mapTo(parentWidget(), QPoint(viewport->width(), 0));
    move(topRight.x() - width() - 2, topRight.y() + 2);
    raise();
    show();
    m_hide.start();
}
