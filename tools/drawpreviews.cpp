// Draws the five layout preview pictures of the home page's article list,
// at their natural size and at twice that for high-density screens:
//
//   draw-previews <pages/home/previews>
//
// The pictures are committed; run this again only to change their artwork.

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const QColor kCard(0xff, 0xff, 0xff);
const QColor kBorder(0xc9, 0xd3, 0xdf);
const QColor kAccent(0x1f, 0x6f, 0xd1);
const QColor kTitle(0x2b, 0x2f, 0x36);
const QColor kMuted(0x8a, 0x93, 0x9f);
const QColor kPictureFill(0xe4, 0xec, 0xf6);
const QColor kMountain(0x9d, 0xb4, 0xd3);
const QColor kSun(0xf2, 0xb1, 0x3c);

QFont song(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void card(QPainter &p, QSizeF size)
{
    p.setPen(QPen(kBorder, 1));
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 3, 3);
}

// A picture placeholder: a pale frame with a sun over two hills.
void picture(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kPictureFill);
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(kSun);
    const qreal sun = r.height() * 0.22;
    p.drawEllipse(QPointF(r.right() - r.width() * 0.28, r.top() + r.height() * 0.32), sun, sun);
    QPainterPath hills;
    hills.moveTo(r.left(), r.bottom());
    hills.lineTo(r.left() + r.width() * 0.32, r.top() + r.height() * 0.45);
    hills.lineTo(r.left() + r.width() * 0.55, r.top() + r.height() * 0.75);
    hills.lineTo(r.left() + r.width() * 0.72, r.top() + r.height() * 0.58);
    hills.lineTo(r.right(), r.bottom());
    hills.closeSubpath();
    p.setBrush(kMountain);
    p.drawPath(hills);
}

void text(QPainter &p, const QPointF &baseline, const QString &s, const QFont &font, const QColor &color)
{
    p.setFont(font);
    p.setPen(color);
    p.drawText(baseline, s);
}

// 【分类】文章正文标题, four times.
void columnAndTitle(QPainter &p, QSizeF size)
{
    card(p, size);
    const QFont font = song(11);
    const qreal category = QFontMetricsF(font).horizontalAdvance(QStringLiteral("【分类】"));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 15 + row * 16;
        text(p, {4, y}, QStringLiteral("【分类】"), font, kAccent);
        text(p, {4 + category, y}, QStringLiteral("文章正文标题"), font, kTitle);
    }
}

// 文章正文标题......, four times.
void titleOnly(QPainter &p, QSizeF size)
{
    card(p, size);
    const QFont font = song(11);
    const qreal title = QFontMetricsF(font).horizontalAdvance(QStringLiteral("文章正文标题"));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 15 + row * 16.5;
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(7, y - 4), 1.6, 1.6);
        text(p, {12, y}, QStringLiteral("文章正文标题"), font, kTitle);
        text(p, {12 + title, y}, QStringLiteral("......"), font, kMuted);
    }
}

// Two by two pictures, each with 文章标题 below.
void pictureGrid(QPainter &p, QSizeF size)
{
    card(p, size);
    const QFont font = song(10);
    const qreal cellWidth = (size.width() - 12) / 2;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRectF cell(4 + column * (cellWidth + 4), 3 + row * 33.5, cellWidth, 32);
            picture(p, QRectF(cell.left(), cell.top(), cell.width(), 19));
            const qreal w = QFontMetricsF(font).horizontalAdvance(QStringLiteral("文章标题"));
            text(p, {cell.center().x() - w / 2, cell.top() + 30}, QStringLiteral("文章标题"), font, kTitle);
        }
    }
}

// Two rows: a picture, with 文章标题 and 文章描述...... beside it.
void pictureTitleDescription(QPainter &p, QSizeF size)
{
    card(p, size);
    for (int row = 0; row < 2; ++row) {
        const qreal top = 4 + row * 32;
        picture(p, QRectF(4, top, 28, 29));
        text(p, {36, top + 11}, QStringLiteral("文章标题"), song(11, true), kTitle);
        text(p, {36, top + 25}, QStringLiteral("文章描述......"), song(10), kMuted);
    }
}

// Two blocks: 文章内容标题 over 文章描述.......
void titleAndDescription(QPainter &p, QSizeF size)
{
    card(p, size);
    for (int block = 0; block < 2; ++block) {
        const qreal top = 4 + block * 32;
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRect(QRectF(4, top + 2, 2, 11));
        text(p, {10, top + 12}, QStringLiteral("文章内容标题"), song(11, true), kTitle);
        text(p, {10, top + 26}, QStringLiteral("文章描述......"), song(10), kMuted);
    }
    p.setPen(QPen(kBorder, 1, Qt::DotLine));
    p.drawLine(QPointF(6, 35.5), QPointF(size.width() - 6, 35.5));
}

struct Preview {
    const char *name;
    QSize size;
    std::function<void(QPainter &, QSizeF)> draw;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: draw-previews <output-directory>");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const Preview previews[] = {
        {"layout1", {120, 72}, columnAndTitle},
        {"layout2", {120, 74}, titleOnly},
        {"layout3", {105, 70}, pictureGrid},
        {"layout4", {111, 70}, pictureTitleDescription},
        {"layout5", {104, 70}, titleAndDescription},
    };
    for (const Preview &preview : previews) {
        for (int scale : {1, 2}) {
            QImage image(preview.size * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.scale(scale, scale);
            preview.draw(painter, QSizeF(preview.size));
            painter.end();
            const QString file = out.filePath(QString::fromLatin1(preview.name)
                                              + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
            if (!image.save(file)) {
                qWarning("cannot write %s", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
