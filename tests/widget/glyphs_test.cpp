// The pixels of the pages' texts: the same glyphs without shaping as with it,
// the Song face's bitmaps at 1x in their own colours, a legible grey usage
// line and an own button as bold on a dense screen as at 1x.

#include "shell/fonts.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

using Glyphs = PagesFixture;

// A widget drawn alone, its background included, at a device pixel ratio.
QImage drawnAt(QWidget *widget, qreal ratio)
{
    QImage image(widget->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    widget->render(&image);
    return image;
}

// How much darker `drawn` is than `blank`, in logical pixels turned from the
// background to black.
double inkOver(const QImage &blank, const QImage &drawn)
{
    double ink = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x)
            ink += qMax(0, qGray(blank.pixel(x, y)) - qGray(drawn.pixel(x, y))) / 255.0;
    }
    return ink / (drawn.devicePixelRatio() * drawn.devicePixelRatio());
}

double relativeLuminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The page fonts skip OpenType shaping. Every text the pages show, captions,
// tips left aside, and the snippets in the output boxes, comes out as the same
// glyphs at the same places as it would shaped.
TEST_F(Glyphs, PageTextsComeOutAsShapedWithoutShaping)
{
    const auto glyphsOf = [](const QString &text, const QFont &font) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        while (layout.createLine().isValid()) {
        }
        layout.endLayout();
        // A run per face; the layout lists them in no fixed order.
        QList<QPair<QList<QPointF>, QList<quint32>>> glyphs;
        for (const QGlyphRun &run : layout.glyphRuns())
            glyphs.append({run.positions(), run.glyphIndexes()});
        std::sort(glyphs.begin(), glyphs.end(), [](const auto &a, const auto &b) {
            const QPointF first = a.first.value(0), second = b.first.value(0);
            return std::pair(first.y(), first.x()) < std::pair(second.y(), second.x());
        });
        return glyphs;
    };
    const auto shaped = [](QFont font) {
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() & ~QFont::PreferNoShaping));
        return font;
    };
    int compared = 0;
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        goTo(p);
        QList<QPair<QString, QFont>> texts;
        for (const QLabel *label : page(p)->findChildren<QLabel *>())
            texts.append({label->text(), label->font()});
        for (const QAbstractButton *button : page(p)->findChildren<QAbstractButton *>())
            texts.append({button->text(), button->font()});
        if (CatalogPage *catalog = content(p)) {
            if (QAbstractButton *first = entry(p, 0))
                clickOn(first);
            QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
            QApplication::sendEvent(catalog->outputBox(), &focusIn);   // the code face
            texts.append({catalog->outputBox()->toPlainText(), catalog->outputBox()->font()});
        }
        for (const auto &[text, font] : std::as_const(texts)) {
            if (text.trimmed().isEmpty() || Qt::mightBeRichText(text))
                continue;
            ASSERT_TRUE(font.styleStrategy() & QFont::PreferNoShaping) << qPrintable(text);
            EXPECT_EQ(glyphsOf(text, font), glyphsOf(text, shaped(font))) << p << " " << qPrintable(text);
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

// At 1x the Song text is drawn from the face's bitmaps of its sizes: every
// text shows pixels of exactly its colour, where antialiased outlines came out
// paler (no pure red in a red note, a grey caption).
TEST_F(Glyphs, TextAt1xShowsItsOwnColourUndiluted)
{
    goTo(Page::TemplateFiles);
    PageWindow *files = page(Page::TemplateFiles);
    const struct {
        const char *name;
        QPalette::ColorRole role;
    } cases[] = {
        {"pcOnlyNote", QPalette::WindowText},          // red note, 9 pt
        {"templateFolderNote", QPalette::WindowText},  // red note, 10.5 pt
        {"usageLine", QPalette::WindowText},           // grey usage line, 10.5 pt
        {"templateFile0", QPalette::WindowText},       // entry caption
        {"navigationButton1", QPalette::ButtonText},   // navigation button
    };
    for (const auto &c : cases) {
        QWidget *widget = files->findChild<QWidget *>(QString::fromLatin1(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        const QRgb colour = widget->palette().color(c.role).rgb();
        const QImage image = drawnAt(widget, 1);
        int exact = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                exact += image.pixel(x, y) == colour;
        }
        EXPECT_GE(exact, 20) << c.name << " " << qPrintable(QColor(colour).name());
    }
    EXPECT_EQ(files->findChild<QWidget *>(QStringLiteral("pcOnlyNote"))->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
}

// The usage line is a grey aside, lighter than the text, yet its darkest
// pixels stand at least 4.5:1 against the window.
TEST_F(Glyphs, TheUsageLineIsGreyYetLegible)
{
    for (int p : {int(Page::Home), int(Page::TemplateFiles)}) {
        goTo(p);
        QLabel *usage = nullptr;
        for (QLabel *label : page(p)->findChildren<QLabel *>()) {
            if (label->text() == usageText())
                usage = label;
        }
        ASSERT_NE(usage, nullptr) << p;
        const QImage image = drawnAt(usage, 1);
        const QRgb window = usage->palette().color(QPalette::Window).rgb();
        QRgb darkest = window;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (relativeLuminance(image.pixel(x, y)) < relativeLuminance(darkest))
                    darkest = image.pixel(x, y);
            }
        }
        const QRgb text = page(p)->palette().color(QPalette::WindowText).rgb();
        EXPECT_GE(contrastRatio(darkest, window), 4.5) << p << " " << qPrintable(QColor(darkest).name());
        EXPECT_LT(contrastRatio(darkest, window), 0.5 * contrastRatio(text, window)) << p;
    }
}

// The own button's caption is bold in the Song face: at 1x the very pixels
// of the face's synthetic bold, and on a dense screen as much added weight as
// at 1x. (The face has one weight; its bold is always made up.)
TEST_F(Glyphs, TheOwnButtonIsBoldAndAsBoldOnADenseScreenAsAt1x)
{
    NavigationButton *own = page(Page::Home)->ownButton();
    ASSERT_TRUE(own->hasBoldCaption());
    EXPECT_EQ(QFontInfo(own->font()).family(), songFamily());

    // At 1x: the same caption drawn by a bold font, pixel for pixel.
    const QImage struck = drawnAt(own, 1);
    own->setBoldCaption(false);
    QFont boldFont = own->font();
    boldFont.setBold(true);
    own->setFont(boldFont);
    EXPECT_EQ(drawnAt(own, 1), struck);
    own->setFont(songFont(9));

    // What bold adds to the caption, at a device pixel ratio.
    const QString caption = own->text();
    const auto weightAddedByBold = [&](qreal ratio) {
        own->setBoldCaption(false);
        own->setText(QString());
        const QImage blank = drawnAt(own, ratio);
        own->setText(caption);
        const double regularInk = inkOver(blank, drawnAt(own, ratio));
        own->setBoldCaption(true);
        return inkOver(blank, drawnAt(own, ratio)) - regularInk;
    };
    const double at1x = weightAddedByBold(1);
    EXPECT_GT(at1x, 20);
    // A dense screen gets the page fonts antialiased: the face has no bitmaps
    // at twice the size.
    QFont denseFont = own->font();
    denseFont.setStyleStrategy(QFont::PreferDefault);
    own->setFont(denseFont);
    for (qreal ratio : {2.0, 3.0})
        EXPECT_GT(weightAddedByBold(ratio), 0.75 * at1x) << ratio;
}

} // namespace
