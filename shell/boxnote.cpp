#include "shell/boxnote.h"

#include <QPlainTextEdit>

BoxNote::BoxNote(QPlainTextEdit *box) : QLabel(box->parentWidget()), m_box(box)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(2);
    hide();
}
