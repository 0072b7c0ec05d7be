#include "pages/about/aboutlinks.h"
#include "pages/about/aboutpage.h"
#include "core/product.h"
#include "core/snippet.h"
#include "core/twips.h"
#include "shell/failurenotice.h"
#include "shell/linkopener.h"
#include "tests/support/fakeopener.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QRegularExpression>

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QUrl>

#include <list>

// Receives the addresses Qt's own opening is asked to open, in place of the
// user's browser.
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

// The about page, visited from the home page. Its links go to a fake opener
// that records the address and succeeds: no test starts a real browser.
class AboutPageTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        goTo(Page::About);
        ASSERT_NE(about(), nullptr);
        ASSERT_TRUE(fakes.isValid());
        opener()->setProgram(fakes.exitingWith(0));
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler(scheme()); }

    // Neither xdg-open nor any browser can be found, so links go through
    // Qt's own opening.
    void withoutOpenerProgram()
    {
        opener()->setProgram(QString());
        m_environment.emplace_back("PATH", fakes.path(QStringLiteral("no-programs")).toLocal8Bit());
        m_environment.emplace_back("BROWSER", QByteArray());
        m_environment.emplace_back("DEFAULT_BROWSER", QByteArray());
    }
    // Qt's opening hands each address to the recorder while the click is
    // handled.
    void recordQtOpenings()
    {
        withoutOpenerProgram();
        QDesktopServices::setUrlHandler(scheme(), &recorder, "open");
    }

    QLabel *label(const QString &name) const { return page(Page::About)->findChild<QLabel *>(name); }
    QLabel *link(int index) const { return label(aboutLink(qint16(index))->name + QStringLiteral("Link")); }
    FailureNotice *notice() const
    {
        return page(Page::About)->findChild<FailureNotice *>(QStringLiteral("OpenFailureNotice"));
    }
    bool noticeShown() const { return notice() && notice()->isVisible(); }
    AboutPage *about() const { return qobject_cast<AboutPage *>(page(Page::About)->content()); }
    LinkOpener *opener() const { return about()->linkOpener(); }
    static QString address(const char *path) { return homeSiteAddress() + QString::fromLatin1(path); }

    FakeOpeners fakes;
    AboutPageUrlRecorder recorder;

private:
    std::list<EnvironmentChange> m_environment;
};

struct LinkRow {
    int link;
    const char *caption;       // the row caption's control
    const char16_t *captionText;
    TwipRect at;               // the link's place in the panel
    const char *openedPath;
};

// The rows top to bottom, as the page shows them.
const LinkRow kRows[] = {
    {0, "homeSiteCaption", u"Zuvi官方网站:", {4440, 1800, 2295, 375}, ""},
    {1, "helpManualCaption", u"Zuvi帮助手册:", {4440, 2640, 3015, 375}, "/doc/"},
    {2, "templateCentreCaption", u"Zuvi模板中心:", {4440, 3480, 3255, 375}, "/moban/"},
    {4, "pluginCentreCaption", u"Zuvi插件中心:", {4440, 4320, 3135, 255}, "/mall/plus/"},
    {3, "licencePurchaseCaption", u"Zuvi授权购买:", {4440, 5160, 3135, 255}, "/buy/"},
};

TEST_F(AboutPageTest, ShowsItsLinksInRowsOnAWhitePageWithItsOwnIcon)
{
    PageWindow *window = page(Page::About);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_TRUE(window->autoFillBackground());
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(48, 48)));
    EXPECT_EQ(window->findChild<QPlainTextEdit *>(), nullptr);

    QWidget *frame = window->findChild<QWidget *>(QStringLiteral("linksPanel"));
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
    QLabel *groups = label(QStringLiteral("userGroupsLine"));
    QLabel *credit = label(QStringLiteral("creditLine"));
    ASSERT_TRUE(groups && credit);
    // The groups are named, with no contact number (one made up may well be
    // a stranger's), and the line is readable to its end.
    EXPECT_TRUE(groups->text().contains(QStringLiteral("交流QQ群")) && groups->text().contains(QStringLiteral("服务QQ群")));
    EXPECT_FALSE(groups->text().contains(QRegularExpression(QStringLiteral("[0-9]{5,}"))));
    EXPECT_GE(groups->width(), groups->sizeHint().width());
    EXPECT_EQ(groups->parentWidget(), frame);
    EXPECT_EQ(credit->text(), aboutCreditText());
    EXPECT_EQ(credit->parentWidget(), window);
    EXPECT_EQ(credit->geometry(), toPixels({10200, 8880, 975, 255}));
}

TEST_F(AboutPageTest, ClickingALinkGivesItsAddressToTheOpener)
{
    QSignalSpy opened(opener(), &LinkOpener::opened);
    QStringList expected;
    for (const LinkRow &row : kRows) {
        clickOn(link(row.link));
        expected << address(row.openedPath);
        // One at a time, so that the fakes record in the order of the clicks.
        ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.opened().size() >= expected.size(); })) << row.link;
        EXPECT_EQ(fakes.opened(), expected) << row.link;
    }
    // The plug-in centre shows /plus/ and opens /mall/plus/.
    EXPECT_EQ(link(4)->text(), address("/plus/"));

    // Every opener ended well, and none was taken for a failure.
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 5; }));
    EXPECT_EQ(notice(), nullptr);
}

TEST_F(AboutPageTest, CaptionsTheFrameAndThePageOpenNothing)
{
    recordQtOpenings();
    for (const char *name : {"homeSiteCaption", "helpManualCaption", "templateCentreCaption", "pluginCentreCaption",
                             "licencePurchaseCaption", "userGroupsLine", "creditLine"}) {
        QLabel *other = label(QString::fromLatin1(name));
        ASSERT_NE(other, nullptr) << name;
        clickOn(other);
    }
    clickOn(page(Page::About)->findChild<QWidget *>(QStringLiteral("linksPanel")));
    QTest::mouseClick(page(Page::About), Qt::LeftButton, {}, QPoint(20, 600));
    // A press on a link that ends outside it is no click.
    QTest::mousePress(link(1), Qt::LeftButton);
    QTest::mouseRelease(link(1), Qt::LeftButton, {}, QPoint(-5, -5));
    for (qint16 index : {qint16(-1), qint16(5), qint16(32767)})
        about()->openLink(index);
    EXPECT_EQ(recorder.opened, QStringList());
    EXPECT_EQ(notice(), nullptr);
    // The recorder would have seen a click on a link.
    clickOn(link(2));
    EXPECT_EQ(recorder.opened, QStringList{address("/moban/")});
}

enum class Failure { ExitStatus, Crash, MissingProgram, NoOpenerHandlerWithoutSlot, NoOpenerNoBrowser };

struct FailingOpen {
    friend void PrintTo(const FailingOpen &f, std::ostream *os) { *os << f.what; }
    const char *what;
    Failure way;
};

class AboutPageFailingOpen : public AboutPageTest, public testing::WithParamInterface<FailingOpen>
{
protected:
    void SetUp() override
    {
        AboutPageTest::SetUp();
        if (HasFatalFailure())
            return;
        switch (GetParam().way) {
        case Failure::ExitStatus: opener()->setProgram(fakes.exitingWith(3)); break;
        case Failure::Crash:
            opener()->setProgram(fakes.write(QStringLiteral("crash"), QStringLiteral("kill -SEGV $$")));
            break;
        case Failure::MissingProgram: opener()->setProgram(fakes.path(QStringLiteral("no-such-opener"))); break;
        case Failure::NoOpenerHandlerWithoutSlot:
            withoutOpenerProgram();
            QDesktopServices::setUrlHandler(scheme(), &recorder, "noSuchSlot");
            break;
        case Failure::NoOpenerNoBrowser: withoutOpenerProgram(); break;
        }
    }
};

TEST_P(AboutPageFailingOpen, ShowsTheAddressToCopyWithoutBlockingAndTheProgramGoesOn)
{
    clickOn(link(4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeShown(); }));
    FailureNotice *shown = notice();
    EXPECT_FALSE(shown->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QLineEdit *detail = shown->detailLine();
    const QString opened = address("/mall/plus/");
    EXPECT_EQ(detail->text(), opened);
    EXPECT_TRUE(detail->isVisible());
    EXPECT_TRUE(detail->isReadOnly());
    EXPECT_TRUE(shown->message().contains(QStringLiteral("浏览器")));
    detail->selectAll();
    EXPECT_EQ(detail->selectedText(), opened);
    // The page itself puts nothing on the clipboard; the notice's button
    // puts exactly the address there, and its caption says it did.
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    QPushButton *copy = shown->findChild<QPushButton *>(QStringLiteral("CopyDetail"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isVisible());
    const QString caption = copy->text();
    copy->click();
    EXPECT_EQ(clipboardText(), opened);
    EXPECT_NE(copy->text(), caption);
    EXPECT_TRUE(shown->isVisible());

    // A second failure reuses the notice with the new address, not yet copied.
    clickOn(link(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return detail->text() != opened; }));
    EXPECT_EQ(detail->text(), address("/doc/"));
    EXPECT_EQ(page(Page::About)->findChildren<QDialog *>().size(), 1);
    EXPECT_EQ(copy->text(), caption);
    EXPECT_EQ(clipboardText(), opened);

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
    FailingOpen{"an opener that ends with an error status", Failure::ExitStatus},
    FailingOpen{"an opener that crashes", Failure::Crash},
    FailingOpen{"an opener program that is not there", Failure::MissingProgram},
    FailingOpen{"no opener, and a handler that cannot receive the address", Failure::NoOpenerHandlerWithoutSlot},
    FailingOpen{"no opener and no browser", Failure::NoOpenerNoBrowser}),
    [](const testing::TestParamInfo<FailingOpen> &info) {
        switch (info.param.way) {
        case Failure::ExitStatus: return std::string("ExitStatus");
        case Failure::Crash: return std::string("Crash");
        case Failure::MissingProgram: return std::string("MissingProgram");
        case Failure::NoOpenerHandlerWithoutSlot: return std::string("NoOpenerHandlerWithoutSlot");
        case Failure::NoOpenerNoBrowser: return std::string("NoOpenerNoBrowser");
        }
        return std::string();
    });

TEST_F(AboutPageTest, EachOfSeveralQuickFailuresShowsItsOwnAddress)
{
    opener()->setProgram(fakes.exitingWith(3));
    QSignalSpy failed(opener(), &LinkOpener::failed);
    // All five start before any has ended.
    for (const LinkRow &row : kRows)
        clickOn(link(row.link));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 5; }));

    QStringList failedAddresses;
    for (const QList<QVariant> &arguments : failed)
        failedAddresses << arguments.at(0).toUrl().toString();
    QStringList expected;
    for (const LinkRow &row : kRows)
        expected << address(row.openedPath);
    failedAddresses.sort();
    expected.sort();
    EXPECT_EQ(failedAddresses, expected);
    // One notice, showing the address of the failure reported last.
    EXPECT_EQ(page(Page::About)->findChildren<QDialog *>().size(), 1);
    ASSERT_TRUE(noticeShown());
    EXPECT_EQ(notice()->detailLine()->text(), failed.last().at(0).toUrl().toString());
}

TEST_F(AboutPageTest, AnOpenerThatOutlastsItsPatienceHasOpenedTheAddress)
{
    // A browser run in the foreground may end with an error long after it
    // showed the page; that is not a failure to open.
    opener()->setProgram(fakes.exitingWith(3));
    opener()->setPatience(0);
    QSignalSpy opened(opener(), &LinkOpener::opened);
    QSignalSpy failed(opener(), &LinkOpener::failed);
    clickOn(link(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }));
    EXPECT_EQ(opened.first().at(0).toUrl().toString(), address(""));
    EXPECT_EQ(failed.size(), 0);
    EXPECT_EQ(notice(), nullptr);
}

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

    QSignalSpy opened(opener(), &LinkOpener::opened);
    goTo(Page::About);
    for (const LinkRow &row : kRows)
        clickOn(link(row.link));
    goTo(Page::TemplateFiles);

    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 5; }));
    EXPECT_EQ(fakes.opened().size(), 5);
    EXPECT_EQ(clipboardText(), clipboard);
    EXPECT_TRUE(before == tagPages());
}

} // namespace

#include "referencepages_test.moc"
