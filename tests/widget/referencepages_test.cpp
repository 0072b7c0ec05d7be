#include "pages/about/aboutlinks.h"
#include "pages/about/aboutpage.h"
#include "core/product.h"
#include "core/snippet.h"
#include "core/twips.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QUrl>

// Receives the addresses the program asks the system to open, in place of
// the user's browser.
class AboutPageUrlRecorder : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened.append(url.toString()); }

public:
    QStringList opened;
};

namespace {

QString scheme()
{
    return QUrl(homeSiteAddress()).scheme();
}

// The about page, visited from the home page.
class AboutPageTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        goTo(Page::About);
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler(scheme()); }

    void recordOpenedAddresses() { QDesktopServices::setUrlHandler(scheme(), &recorder, "open"); }
    QLabel *label(const QString &name) const { return page(Page::About)->findChild<QLabel *>(name); }
    QLabel *link(int index) const { return label(QStringLiteral("Label2(%1)").arg(index)); }
    QDialog *notice() const { return page(Page::About)->findChild<QDialog *>(QStringLiteral("OpenFailureNotice")); }
    AboutPage *about() const { return qobject_cast<AboutPage *>(page(Page::About)->content()); }

    AboutPageUrlRecorder recorder;
};

struct LinkRow {
    int link;
    const char *caption;       // the row caption's control
    const char16_t *captionText;
    TwipRect at;               // the link's place in Frame1
    const char *openedPath;
};

// The rows top to bottom, as the page shows them.
const LinkRow kRows[] = {
    {0, "Label1(0)", u"Zuvi官方网站:", {4440, 1800, 2295, 375}, ""},
    {1, "Label1(2)", u"Zuvi帮助手册:", {4440, 2640, 3015, 375}, "/doc/"},
    {2, "Label8", u"Zuvi模板中心:", {4440, 3480, 3255, 375}, "/moban/"},
    {4, "Label12(0)", u"Zuvi插件中心:", {4440, 4320, 3135, 255}, "/mall/plus/"},
    {3, "Label12(2)", u"Zuvi授权购买:", {4440, 5160, 3135, 255}, "/buy/"},
};

TEST_F(AboutPageTest, ShowsItsLinksInRowsOnAWhitePageWithItsOwnIcon)
{
    PageWindow *window = page(Page::About);
    ASSERT_NE(about(), nullptr);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_TRUE(window->autoFillBackground());
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(48, 48)));
    EXPECT_EQ(window->findChild<QPlainTextEdit *>(), nullptr);

    QWidget *frame = window->findChild<QWidget *>(QStringLiteral("Frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), toPixels({120, 600, 11055, 8175}));

    const QColor linkColour = QApplication::palette().color(QPalette::Highlight);
    int previousTop = -1;
    for (const LinkRow &row : kRows) {
        QLabel *shown = link(row.link);
        QLabel *caption = label(QString::fromLatin1(row.caption));
        ASSERT_TRUE(shown && caption) << row.caption;
        EXPECT_EQ(shown->parentWidget(), frame);
        EXPECT_EQ(shown->text(), aboutLink(qint16(row.link))->shown);
        EXPECT_EQ(shown->toolTip(), aboutLink(qint16(row.link))->tip);
        EXPECT_EQ(shown->palette().color(QPalette::WindowText), linkColour) << row.link;
        EXPECT_EQ(shown->cursor().shape(), Qt::PointingHandCursor);
        const QRect at = toPixels(row.at);
        EXPECT_EQ(shown->pos(), at.topLeft()) << row.link;
        EXPECT_EQ(shown->height(), at.height());
        EXPECT_GE(shown->width(), at.width());
        // The whole address is readable.
        EXPECT_GE(shown->width(), shown->sizeHint().width()) << row.link;

        EXPECT_EQ(caption->text(), QString::fromUtf16(row.captionText));
        EXPECT_EQ(caption->y(), shown->y()) << row.caption;
        EXPECT_LT(caption->x(), shown->x());
        EXPECT_GT(shown->y(), previousTop) << row.caption;
        previousTop = shown->y();
    }
    QLabel *groups = label(QStringLiteral("Label7"));
    QLabel *credit = label(QStringLiteral("Label9"));
    ASSERT_TRUE(groups && credit);
    EXPECT_EQ(groups->text(), aboutUserGroupsText());
    EXPECT_EQ(groups->parentWidget(), frame);
    EXPECT_EQ(credit->text(), aboutCreditText());
    EXPECT_EQ(credit->parentWidget(), window);
    EXPECT_EQ(credit->geometry(), toPixels({10200, 8880, 975, 255}));
}

TEST_F(AboutPageTest, ClickingALinkOpensItsAddress)
{
    recordOpenedAddresses();
    QStringList expected;
    for (const LinkRow &row : kRows) {
        clickOn(link(row.link));
        expected << homeSiteAddress() + QString::fromLatin1(row.openedPath);
        EXPECT_EQ(recorder.opened, expected) << row.link;
    }
    // The plug-in centre shows /plus/ and opens /mall/plus/.
    EXPECT_EQ(link(4)->text(), homeSiteAddress() + QStringLiteral("/plus/"));
    EXPECT_EQ(notice(), nullptr);
}

TEST_F(AboutPageTest, CaptionsTheFrameAndThePageOpenNothing)
{
    recordOpenedAddresses();
    for (const char *name : {"Label1(0)", "Label1(2)", "Label8", "Label12(0)", "Label12(2)", "Label7", "Label9"}) {
        QLabel *other = label(QString::fromLatin1(name));
        ASSERT_NE(other, nullptr) << name;
        clickOn(other);
    }
    clickOn(page(Page::About)->findChild<QWidget *>(QStringLiteral("Frame1")));
    QTest::mouseClick(page(Page::About), Qt::LeftButton, {}, QPoint(20, 600));
    // A press on a link that ends outside it is no click.
    QTest::mousePress(link(1), Qt::LeftButton);
    QTest::mouseRelease(link(1), Qt::LeftButton, {}, QPoint(-5, -5));
    for (qint16 index : {qint16(-1), qint16(5), qint16(32767)})
        about()->openLink(index);
    EXPECT_EQ(recorder.opened, QStringList());
    EXPECT_EQ(notice(), nullptr);
}

// Sets an environment variable for the lifetime of the object.
class EnvironmentChange
{
public:
    EnvironmentChange(const char *name, const QByteArray &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentChange()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

struct FailingOpen {
    friend void PrintTo(const FailingOpen &f, std::ostream *os) { *os << f.what; }
    const char *what;
    bool handlerWithoutSlot;
};

class AboutPageFailingOpen : public AboutPageTest, public testing::WithParamInterface<FailingOpen> {};

TEST_P(AboutPageFailingOpen, ShowsTheAddressWithoutBlockingAndTheProgramGoesOn)
{
    QTemporaryDir emptyDirectory;
    ASSERT_TRUE(emptyDirectory.isValid());
    // Either the opening is handed to a receiver that cannot take it, or
    // there is no handler and no browser launcher (xdg-open and the like)
    // to be found.
    if (GetParam().handlerWithoutSlot)
        QDesktopServices::setUrlHandler(scheme(), &recorder, "noSuchSlot");
    const EnvironmentChange path("PATH", GetParam().handlerWithoutSlot ? qgetenv("PATH") : emptyDirectory.path().toLocal8Bit());
    const EnvironmentChange browser("BROWSER", QByteArray());
    const EnvironmentChange defaultBrowser("DEFAULT_BROWSER", QByteArray());

    clickOn(link(4));
    QDialog *shown = notice();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    auto *address = shown->findChild<QLineEdit *>(QStringLiteral("Detail"));
    ASSERT_NE(address, nullptr);
    const QString opened = homeSiteAddress() + QStringLiteral("/mall/plus/");
    EXPECT_EQ(address->text(), opened);
    EXPECT_TRUE(address->isReadOnly());
    bool explained = false;
    for (const QLabel *text : shown->findChildren<QLabel *>())
        explained = explained || text->text().contains(QStringLiteral("浏览器"));
    EXPECT_TRUE(explained);
    // The page itself puts nothing on the clipboard.
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    address->selectAll();
    EXPECT_EQ(address->selectedText(), opened);

    // A second failure reuses the notice with the new address.
    clickOn(link(1));
    EXPECT_EQ(page(Page::About)->findChildren<QDialog *>().size(), 1);
    EXPECT_EQ(address->text(), homeSiteAddress() + QStringLiteral("/doc/"));

    // The user dismisses it and carries on.
    auto *buttons = shown->findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::Close)->click();
    EXPECT_FALSE(shown->isVisible());
    EXPECT_TRUE(page(Page::About)->isVisible());
    goTo(Page::Home);
    EXPECT_TRUE(page(Page::Home)->isVisible());
    EXPECT_FALSE(page(Page::About)->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutPageFailingOpen, testing::Values(
    FailingOpen{"a handler that cannot receive the address", true},
    FailingOpen{"no handler and no browser launcher", false}),
    [](const testing::TestParamInfo<FailingOpen> &info) {
        return std::string(info.param.handlerWithoutSlot ? "HandlerWithoutSlot" : "NoBrowserLauncher");
    });

struct TagPageState {
    QString output;
    QAbstractButton *checked;
    friend bool operator==(const TagPageState &, const TagPageState &) = default;
};

TEST_F(AboutPageTest, VisitingItChangesNeitherTheClipboardNorAnyTagPage)
{
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    goTo(Page::CommonTags);
    clickOn(entry(Page::CommonTags, 3));
    goTo(Page::TemplateFiles);
    clickOn(entry(Page::TemplateFiles, 2));
    const QString clipboard = clipboardText();
    auto tagPages = [this] {
        QList<TagPageState> states;
        for (int p = Page::Home; p <= Page::ExtensionFunctions; ++p)
            states.append({outputText(p), content(p)->selectedOption()});
        return states;
    };
    const QList<TagPageState> before = tagPages();

    recordOpenedAddresses();
    goTo(Page::About);
    for (const LinkRow &row : kRows)
        clickOn(link(row.link));
    goTo(Page::TemplateFiles);

    EXPECT_EQ(recorder.opened.size(), 5);
    EXPECT_EQ(clipboardText(), clipboard);
    EXPECT_TRUE(before == tagPages());
}

} // namespace

#include "referencepages_test.moc"
