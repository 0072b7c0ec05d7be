// Another X client that takes dropped text, as an editor does: a window at
// the place given as "x y width height", which prints "ready" once it is on
// the screen and, for each drop, one line "drop <formats> <text>", the
// formats offered joined by commas and the plain text's bytes in base64.
// It also serves as a window that stands over another.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class DropTarget : public QWidget
{
public:
    DropTarget() { setAcceptDrops(true); }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (event->mimeData()->hasFormat(QStringLiteral("text/plain")))
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent *event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent *event) override
    {
        const QMimeData *data = event->mimeData();
        const QByteArray line = "drop " + data->formats().join(u',').toUtf8() + ' '
                                + data->data(QStringLiteral("text/plain")).toBase64() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fflush(stdout);
        event->acceptProposedAction();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList place = QCoreApplication::arguments().mid(1);
    if (place.size() != 4) {
        std::fputs("usage: drop-target x y width height\n", stderr);
        return 2;
    }
    DropTarget window;
    window.setWindowTitle(QStringLiteral("drop target"));
    window.setGeometry(place[0].toInt(), place[1].toInt(), place[2].toInt(), place[3].toInt());
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
