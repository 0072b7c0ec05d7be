// Draws the program's icon, a blue tile with a white tag holding a pair of
// template braces, at the sizes of the desktop's icon theme:
//
//   draw-icon <shell/icons>
//
// The pictures are committed; run this again only to change the artwork.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawIcon(QPainter &p, qreal size)
{
    const qreal u = size / 64.0;   // drawn on a 64-unit grid
    p.save();
    p.scale(u, u);

    // The tile.
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(0x3a, 0x8d, 0xf0));
    tile.setColorAt(1, QColor(0x1a, 0x5c, 0xc2));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);

    // A tag: a rounded label with a pointed left end and a punched hole.
    QPainterPath tag;
    tag.moveTo(10, 32);
    tag.lineTo(21, 17);
    tag.lineTo(51, 17);
    tag.quadTo(55, 17, 55, 21);
    tag.lineTo(55, 43);
    tag.quadTo(55, 47, 51, 47);
    tag.lineTo(21, 47);
    tag.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(19.5, 32), 3, 3);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawPath(tag.subtracted(hole));

    // The braces of a template tag, in the tile's blue.
    QPen brace(QColor(0x1f, 0x6a, 0xd6), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(brace);
    p.setBrush(Qt::NoBrush);
    auto drawBrace = [&p](qreal x, qreal dir) {
        QPainterPath b;
        b.moveTo(x + 3 * dir, 23);
        b.quadTo(x, 23, x, 26);
        b.lineTo(x, 29.5);
        b.quadTo(x, 32, x - 2.5 * dir, 32);
        b.quadTo(x, 32, x, 34.5);
        b.lineTo(x, 38);
        b.quadTo(x, 41, x + 3 * dir, 41);
        p.drawPath(b);
    };
    drawBrace(32, 1);
    drawBrace(48, -1);
    // An orange dot between them: the value the tool fills in.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf5, 0xa6, 0x23));
    p.drawEllipse(QPointF(40, 32), 3.2, 3.2);
    p.restore();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: draw-icon <output-directory>");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        drawIcon(painter, size);
        painter.end();
        const QString file = out.filePath(QStringLiteral("zuvi-taggen-%1.png").arg(size));
        if (!image.save(file)) {
            qWarning("cannot write %s", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
