// zuvi-bare-window: what the end-to-end start-up of the tool is compared
// with, started the same way: a QApplication, the bare window, and the same
// first-paint report as the tool's main().

#include "bench/barewindow.h"

#include "shell/firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    reportFirstPaintIfAsked();
    const std::unique_ptr<QWidget> window = showBareWindow();
    return app.exec();
}
