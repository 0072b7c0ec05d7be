#include "shell/applicationicon.h"
#include "shell/failurenotice.h"
#include "shell/fonts.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QAbstractItemView>
#include <QBackingStore>
#include <QComboBox>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

using ShellTest = PagesFixture;

int visiblePages(const PageSet &pages)
{
    int count = 0;
    for (int p = kFirstPage; p <= kLastPage; ++p)
        count += pages.page(p) && pages.page(p)->isVisible();
    return count;
}

TEST_F(ShellTest, StartsWithTheHomePageAloneInItsInitialState)
{
    for (int p = kFirstPage + 1; p <= kLastPage; ++p)
        EXPECT_EQ(page(p), nullptr) << p;
    PageWindow *home = page(Page::Home);
    EXPECT_TRUE(home->isVisible());
    EXPECT_EQ(home->windowTitle(), QStringLiteral("ZuviCMS标签生成器V" ZUVI_VERSION));
    EXPECT_EQ(home->size(), QSize(753, 613));
    EXPECT_EQ(home->minimumSize(), home->maximumSize());
    EXPECT_EQ(home->focusWidget(), home->navigationButton(Page::Home));
    EXPECT_EQ(outputText(Page::Home), QString());
    EXPECT_EQ(content(Page::Home)->selectedOption(), nullptr);
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
}

TEST_F(ShellTest, FirstNavigationCreatesAllPagesAndShowsOnlyTheTarget)
{
    goTo(Page::Content);
    for (int p = kFirstPage; p <= kLastPage; ++p)
        ASSERT_NE(page(p), nullptr) << p;
    EXPECT_TRUE(page(Page::Content)->isVisible());
    EXPECT_EQ(visiblePages(pages), 1);
    // A new page starts with nothing selected and the initial output text;
    // creating it wrote nothing to the clipboard.
    EXPECT_EQ(outputText(Page::List), QStringLiteral("\r\n\r\n       \r\n"));
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    for (int p = Page::List; p <= Page::ExtensionFunctions; ++p)
        EXPECT_EQ(content(p)->selectedOption(), nullptr) << p;
}

TEST_F(ShellTest, EveryPageHasTheSameBarWithItsOwnButtonBoldAndFirst)
{
    goTo(Page::Home);
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        PageWindow *window = page(p);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ZuviCMS标签生成器V" ZUVI_VERSION));
        const int width = (p == Page::Home || p == Page::ExtensionFunctions) ? 753 : 755;
        EXPECT_EQ(window->size(), QSize(width, 613)) << p;
        for (int b = 1; b <= 9; ++b) {
            NavigationButton *nav = window->navigationButton(b);
            EXPECT_EQ(nav->hasBoldCaption(), b == p) << p << "/" << b;
            EXPECT_EQ(nav->isDefault(), b == p) << p << "/" << b;
            EXPECT_EQ(nav->y(), 8);
        }
        EXPECT_EQ(window->navigationButton(9)->x(), p == Page::Content ? 672 : 670) << p;
        EXPECT_EQ(window->navigationButton(5)->geometry(), QRect(311, 8, 106, 25));
        EXPECT_EQ(window->ownButton()->font().family(), songFamily());
        EXPECT_EQ(window->ownButton()->font().pointSizeF(), 9.0);
        EXPECT_EQ(window->focusWidget(), window->ownButton()) << p;
    }
}

TEST_F(ShellTest, FocusRestsOnTheOwnButtonWhenAPageComesBack)
{
    goTo(Page::List);
    PageWindow *list = page(Page::List);
    list->findChild<QWidget *>(QStringLiteral("listTitleLength"))->setFocus();
    list->navigationButton(Page::Shop)->click();
    EXPECT_EQ(list->focusWidget(), list->ownButton());
    goTo(Page::List);
    EXPECT_EQ(list->focusWidget(), list->ownButton());
}

// Focus shows wherever it rests, also when it was put there by the program
// and not by a key, and it never looks like the default button's outline.
TEST_F(ShellTest, TheFocusedControlShowsAFrameOfItsOwn)
{
    PageWindow *home = page(Page::Home);
    QPushButton *own = home->ownButton();
    QPushButton *other = home->navigationButton(Page::List);
    QAbstractButton *option = entry(Page::Home, 1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(home));
    own->setFocus();
    ASSERT_TRUE(own->hasFocus());
    const QImage ownFocused = own->grab().toImage();
    const QImage otherPlain = other->grab().toImage();
    const QImage optionPlain = option->grab().toImage();

    other->setFocus();
    EXPECT_NE(own->grab().toImage(), ownFocused) << "focus on the default button does not show";
    const QImage otherFocused = other->grab().toImage();
    EXPECT_NE(otherFocused, otherPlain) << "focus on a navigation button does not show";
    // A focused button must not look like the default button.
    other->setDefault(true);
    other->clearFocus();
    EXPECT_NE(other->grab().toImage(), otherFocused) << "focus looks like the default button";
    other->setDefault(false);

    option->setFocus();
    EXPECT_NE(option->grab().toImage(), optionPlain) << "focus on an entry does not show";
}

TEST_F(ShellTest, HiddenPagesKeepSelectionTextAndPosition)
{
    goTo(Page::List);
    clickOn(entry(Page::List, 6));
    const QString listText = outputText(Page::List);
    page(Page::List)->move(40, 30);
    const QPoint moved = page(Page::List)->pos();
    goTo(Page::Content);
    clickOn(entry(Page::Content, 0));
    goTo(Page::List);
    EXPECT_TRUE(entry(Page::List, 6)->isChecked());
    EXPECT_EQ(outputText(Page::List), listText);
    EXPECT_EQ(page(Page::List)->pos(), moved);
    EXPECT_NE(page(Page::Content)->pos(), moved);
    // The clipboard holds the last copy, from whichever page.
    EXPECT_EQ(clipboardText(), outputText(Page::Content));
}

// A hidden page gives back the image it is drawn into, the memory it holds
// only to be drawn. Shown again, it is as it was left: the control with the
// focus (also one navigation never leaves it on), the selection, the boxes,
// the output, its place, and the same picture on the screen.
TEST_F(ShellTest, AHiddenPageGivesBackItsImageAndComesBackAsItWasLeft)
{
    PageWindow *home = page(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowActive(home));
    auto *columnId = home->findChild<QLineEdit *>(QStringLiteral("columnId"));
    ASSERT_NE(columnId, nullptr);
    typeText(columnId, QStringLiteral("35"));
    clickOn(entry(Page::Home, 2));
    const QString output = outputText(Page::Home);
    QAbstractButton *focused = entry(Page::Home, 4);
    focused->setFocus();
    home->move(40, 30);
    const QPoint place = home->pos();
    // What the screen shows of the page once it has caught up with the
    // changes above, as the widgets draw themselves.
    QScreen *screen = QGuiApplication::primaryScreen();
    const auto onScreen = [&] {
        return screen->grabWindow(home->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage picture = home->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen() == picture; }));

    // As navigation does it, without the focus it puts on the own button.
    pages.create(Page::List);
    pages.show(Page::List);
    pages.hide(Page::Home);
    const QSize kept = home->backingStore()->size();
    EXPECT_LE(kept.width() * kept.height(), 16) << "the hidden page keeps an image of " << kept.width() << " x " << kept.height();

    pages.show(Page::Home);
    pages.hide(Page::List);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    EXPECT_EQ(home->focusWidget(), focused);
    EXPECT_TRUE(entry(Page::Home, 2)->isChecked());
    EXPECT_EQ(columnId->text(), QStringLiteral("35"));
    EXPECT_EQ(outputText(Page::Home), output);
    EXPECT_EQ(home->pos(), place);
    EXPECT_TRUE(QTest::qWaitFor([&] { return onScreen() == picture; }))
        << "the page shown again is not drawn as it was left";
}

// The windows a page opens (a drop-down's list, a notice) stay tied to its
// window when it has been hidden and shown again, and a notice still showing
// while its page is hidden stays whole.
TEST_F(ShellTest, APageKeepsItsOwnWindowsWhenItComesBack)
{
    PageWindow *home = page(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    auto *combo = home->findChild<QComboBox *>(QStringLiteral("columnAttribute"));
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    QWidget *list = combo->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    combo->hidePopup();
    auto *notice = new FailureNotice(home, QStringLiteral("Notice"), false);
    notice->showFailure(QStringLiteral("未能完成"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice));

    goTo(Page::List);
    QTest::qWait(20);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->backingStore()->size(), notice->size());
    goTo(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    EXPECT_EQ(notice->windowHandle()->transientParent(), home->windowHandle());
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    EXPECT_EQ(list->windowHandle()->transientParent(), home->windowHandle());
    combo->hidePopup();
}

TEST_F(ShellTest, EnterAndEscapeActivateTheOwnButton)
{
    goTo(Page::Shop);
    PageWindow *shop = page(Page::Shop);
    int clicks = 0;
    QObject::connect(shop->ownButton(), &QPushButton::clicked, [&] { ++clicks; });
    entry(Page::Shop, 2)->setFocus();
    QTest::keyClick(shop, Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    entry(Page::Shop, 2)->setFocus();
    QTest::keyClick(shop, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(shop->focusWidget(), shop->ownButton());
    EXPECT_TRUE(shop->isVisible());
    // Enter on another navigation button clicks that one instead.
    shop->navigationButton(Page::Home)->setFocus();
    QTest::keyClick(shop->navigationButton(Page::Home), Qt::Key_Return);
    EXPECT_TRUE(page(Page::Home)->isVisible());
    EXPECT_FALSE(shop->isVisible());
}

TEST_F(ShellTest, UsageLineAndOutputBoxAreSetUpAndSongResolvesToAnInstalledFace)
{
    goTo(Page::Home);
    for (int p = kFirstPage; p <= Page::ExtensionFunctions; ++p) {
        QPlainTextEdit *box = content(p)->outputBox();
        EXPECT_EQ(box->font().pointSizeF(), 10.5) << p;
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_FALSE(box->isReadOnly());
        bool hasUsage = false;
        for (QLabel *label : page(p)->findChildren<QLabel *>())
            hasUsage |= label->text() == QStringLiteral("使用说明：选择相应标签即可自动生成及复制到剪切板，你只需要粘贴即可。");
        EXPECT_TRUE(hasUsage) << p;
    }
    // "宋体" resolves to an installed Song-style face, not a fallback, and a
    // font that asks for "宋体" by name gets the same face.
    EXPECT_TRUE(QFontInfo(songFont(10.5)).family().contains(QStringLiteral("UMing")))
        << QFontInfo(songFont(10.5)).family().toStdString();
    EXPECT_EQ(QFontInfo(QFont(requestedSongFamily(), 9)).family(), QFontInfo(songFont(9)).family());
}

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
TEST_F(ShellTest, PageTextsComeOutAsShapedWithoutShaping)
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
TEST_F(ShellTest, TextAt1xShowsItsOwnColourUndiluted)
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
TEST_F(ShellTest, TheUsageLineIsGreyYetLegible)
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
TEST_F(ShellTest, TheOwnButtonIsBoldAndAsBoldOnADenseScreenAsAt1x)
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

namespace {

TEST_F(ShellTest, ClosingTheVisiblePageEndsTheProgram)
{
    goTo(Page::Shop);   // all nine pages exist, eight of them hidden
    ASSERT_TRUE(QGuiApplication::quitOnLastWindowClosed());
    bool timedOut = false;
    QTimer::singleShot(0, page(Page::Shop), [this] { page(Page::Shop)->close(); });
    // A safety net: if closing does not end the event loop, end it here.
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    safetyNet.start(3000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}

} // namespace

namespace {

TEST_F(ShellTest, PagesAppearCentredAndKeepTheirOwnPlace)
{
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Centred to within the window frame's width, which is unknown until
    // the window is first shown.
    EXPECT_LE((page(Page::Home)->frameGeometry().center() - screenCentre).manhattanLength(), 4);
    page(Page::Home)->move(10, 10);
    goTo(Page::About);   // first shown now: centred, whatever the home page did
    EXPECT_LE((page(Page::About)->frameGeometry().center() - screenCentre).manhattanLength(), 4);
    goTo(Page::Home);
    EXPECT_EQ(page(Page::Home)->pos(), QPoint(10, 10));
}

// The icon offers the window manager the drawn sizes up to 128 px (what Qt
// writes into every new window's X11 icon property); a size asked for comes
// from the smallest drawing that covers it, the 256 px one included, and from
// the largest drawing where none does.
TEST(ApplicationIcon, EveryAskedSizeComesFromTheNearestDrawing)
{
    const QIcon icon = applicationIcon();
    QList<QSize> offered;
    for (int side : {16, 24, 32, 48, 64, 128})
        offered << QSize(side, side);
    EXPECT_EQ(icon.availableSizes(), offered);

    const struct {
        int asked;
        int given;
    } cases[] = {{16, 16}, {20, 20}, {48, 48}, {100, 100}, {200, 200}, {256, 256}, {400, 256}};
    for (const auto &c : cases) {
        const QPixmap pixmap = icon.pixmap(QSize(c.asked, c.asked));
        EXPECT_EQ(pixmap.size(), QSize(c.given, c.given)) << c.asked;
    }
    // A drawn size is the drawing itself, pixel for pixel.
    const QImage drawing(QStringLiteral(":/shell/icons/zuvi-taggen-48.png"));
    EXPECT_EQ(icon.pixmap(QSize(48, 48)).toImage().convertToFormat(drawing.format()), drawing);
}

TEST_F(ShellTest, PagesCarryTheApplicationIcon)
{
    goTo(Page::List);
    for (int p : {int(Page::Home), int(Page::List), int(Page::ExtensionFunctions)})
        EXPECT_EQ(page(p)->windowIcon().availableSizes(), applicationIcon().availableSizes()) << p;
}

} // namespace

namespace {

// Without the Song-style face the pages fall back to any Chinese face, and
// the one line printed at start names the package to install.
TEST(PageFonts, AMissingSongFaceFallsBackToAChineseFaceAndNamesThePackage)
{
    const auto none = [] { return QStringList(); };
    const auto chinese = [] { return QStringList{QStringLiteral("Droid Sans Fallback")}; };
    struct Case {
        QStringList installed;
        std::function<QStringList()> chinese;
        QString family;
        bool songStyle;
    } cases[] = {
        {{QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN")}, chinese, QStringLiteral("宋体"), true},
        {{QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")}, chinese, QStringLiteral("AR PL UMing CN"), true},
        {{QStringLiteral("Noto Serif CJK SC")}, chinese, QStringLiteral("Noto Serif CJK SC"), true},
        {{QStringLiteral("DejaVu Sans")}, chinese, QStringLiteral("Droid Sans Fallback"), false},
        {{QStringLiteral("DejaVu Sans")}, none, QString(), false},
    };
    for (const Case &c : cases) {
        const SongFace face = chooseSongFace(c.installed, c.chinese);
        EXPECT_EQ(face.family, c.family) << c.installed.join(u',').toStdString();
        EXPECT_EQ(face.songStyle, c.songStyle) << c.installed.join(u',').toStdString();
        if (!face.songStyle) {
            const QString message = missingSongFaceMessage(face);
            EXPECT_TRUE(message.contains(QStringLiteral("fonts-arphic-uming"))) << message.toStdString();
            EXPECT_FALSE(message.contains(u'\n'));
            EXPECT_EQ(message.contains(QStringLiteral("Droid Sans Fallback")), !face.family.isEmpty());
        }
    }
    // The Chinese faces are not even asked for while a Song-style face is there.
    bool asked = false;
    chooseSongFace({QStringLiteral("AR PL UMing CN")}, [&asked] { asked = true; return QStringList(); });
    EXPECT_FALSE(asked);
}

} // namespace
