#include "bench/barewindow.h"

#include "core/catalog/twips.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

std::unique_ptr<QWidget> showBareWindow()
{
    auto window = std::make_unique<QWidget>();
    // The size of a tag page's client area.
    window->setFixedSize(toPixels(TwipRect{0, 0, 11325, 9195}).size());
    auto *edit = new QPlainTextEdit(window.get());
    edit->setGeometry(window->rect());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
