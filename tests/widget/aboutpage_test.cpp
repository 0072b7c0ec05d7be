#include "pages/about/aboutlinks.h"
#include "pages/about/aboutpage.h"
#include "core/product.h"
#include "core/catalog/snippet.h"
#include "core/catalog/twips.h"
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
    // Link `index` of the link table, and the caption of its row.
    QLabel *link(int index) const { return label(aboutLink(qint16(index))->name + QStringLiteral("Link")); }
    QLabel *rowCaption(int index) const { return label(aboutLink(qint16(index))->name + QStringLiteral("Caption")); }
    // The labels of the page that are not links.
    QList<QLabel *> otherLabels() const
    {
        QList<QLabel *> others = page(Page::About)->findChildren<QLabel *>();
        for (qint16 index = 0; index < kAboutLinkCount; ++index)
            others.removeOne(link(index));
        return others;
    }
    static QString openedAddress(int index) { return aboutLink(qint16(index))->opened.toString(); }
    FailureNotice *notice() const
    {
        return page(Page::About)->findChild<FailureNotice *>(QStringLiteral("OpenFailureNotice"));
    }
    bool noticeShown() const { return notice() && notice()->isVisible(); }
    AboutPage *about() const { return qobject_cast<AboutPage *>(page(Page::About)->content()); }
    LinkOpener *opener() const { return about()->linkOpener(); }

    FakeOpeners fakes;
    AboutPageUrlRecorder recorder;

private:
    std::list<EnvironmentChange> m_environment;
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

    // Each link stands in a row of its own, right of the row's caption, in
    // one column with the other links; the whole address is readable.
    const QColor linkColour = QApplication::palette().color(QPalette::Highlight);
    QList<QRect> rows;
    for (int index = 0; index < kAboutLinkCount; ++index) {
        QLabel *shown = link(index);
        QLabel *caption = rowCaption(index);
        ASSERT_TRUE(shown && caption) << index;
        const std::string what = shown->objectName().toStdString();
        EXPECT_EQ(shown->parentWidget(), frame) << what;
        EXPECT_EQ(caption->parentWidget(), frame) << what;
        EXPECT_EQ(shown->text(), aboutLink(qint16(index))->shown) << what;
        EXPECT_EQ(shown->toolTip(), aboutLink(qint16(index))->tip) << what;
        EXPECT_EQ(shown->palette().color(QPalette::WindowText), linkColour) << what;
        EXPECT_EQ(shown->cursor().shape(), Qt::PointingHandCursor) << what;
        EXPECT_GE(shown->width(), shown->sizeHint().width()) << what;
        EXPECT_TRUE(frame->rect().contains(shown->geometry())) << what;
        EXPECT_EQ(shown->x(), link(0)->x()) << what;

        EXPECT_TRUE(caption->text().startsWith(QStringLiteral("Zuvi")) && caption->text().endsWith(u':')) << what;
        EXPECT_EQ(caption->y(), shown->y()) << what;
        EXPECT_EQ(caption->x(), rowCaption(0)->x()) << what;
        EXPECT_LE(caption->x() + caption->sizeHint().width(), shown->x()) << what;
        rows << shown->geometry().united(caption->geometry());
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (qsizetype j = i + 1; j < rows.size(); ++j)
            EXPECT_FALSE(rows[i].intersects(rows[j])) << "rows of links " << i << " and " << j << " overlap";
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

// What a link shows is what a click opens, but for the plug-in centre, whose
// pages moved from the address it shows (aboutlinks_test.cpp).
TEST_F(AboutPageTest, ClickingALinkGivesTheAddressItShowsToTheOpener)
{
    QSignalSpy openedSpy(opener(), &LinkOpener::opened);
    QStringList expected;
    for (int index = 0; index < kAboutLinkCount; ++index) {
        const bool moved = aboutLink(qint16(index))->name == QStringLiteral("pluginCentre");
        clickOn(link(index));
        expected << (moved ? openedAddress(index) : link(index)->text());
        // One at a time, so that the fakes record in the order of the clicks.
        ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.opened().size() >= expected.size(); })) << index;
        EXPECT_EQ(fakes.opened(), expected) << index;
    }

    // Every opener ended well, and none was taken for a failure.
    ASSERT_TRUE(QTest::qWaitFor([&] { return openedSpy.size() == kAboutLinkCount; }));
    EXPECT_EQ(notice(), nullptr);
}

TEST_F(AboutPageTest, CaptionsTheFrameAndThePageOpenNothing)
{
    recordQtOpenings();
    const QList<QLabel *> others = otherLabels();
    // The five row captions, the user groups and the credit line.
    EXPECT_EQ(others.size(), kAboutLinkCount + 2);
    for (QLabel *other : others)
        clickOn(other);
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
    EXPECT_EQ(recorder.opened, QStringList{openedAddress(2)});
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
    const QString address = openedAddress(4);
    EXPECT_EQ(detail->text(), address);
    EXPECT_TRUE(detail->isVisible());
    EXPECT_TRUE(detail->isReadOnly());
    EXPECT_TRUE(shown->message().contains(QStringLiteral("浏览器")));
    detail->selectAll();
    EXPECT_EQ(detail->selectedText(), address);
    // The page itself puts nothing on the clipboard; the notice's button
    // puts exactly the address there, and its caption says it did.
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    QPushButton *copy = shown->findChild<QPushButton *>(QStringLiteral("CopyDetail"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isVisible());
    const QString caption = copy->text();
    copy->click();
    EXPECT_EQ(clipboardText(), address);
    EXPECT_NE(copy->text(), caption);
    EXPECT_TRUE(shown->isVisible());

    // A second failure reuses the notice with the new address, not yet copied.
    clickOn(link(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return detail->text() != address; }));
    EXPECT_EQ(detail->text(), openedAddress(1));
    EXPECT_EQ(page(Page::About)->findChildren<QDialog *>().size(), 1);
    EXPECT_EQ(copy->text(), caption);
    EXPECT_EQ(clipboardText(), address);

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
    for (int index = 0; index < kAboutLinkCount; ++index)
        clickOn(link(index));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == kAboutLinkCount; }));

    QStringList failedAddresses;
    for (const QList<QVariant> &arguments : failed)
        failedAddresses << arguments.at(0).toUrl().toString();
    QStringList expected;
    for (int index = 0; index < kAboutLinkCount; ++index)
        expected << openedAddress(index);
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
    EXPECT_EQ(opened.first().at(0).toUrl().toString(), homeSiteAddress());
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
    for (int index = 0; index < kAboutLinkCount; ++index)
        clickOn(link(index));
    goTo(Page::TemplateFiles);

    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == kAboutLinkCount; }));
    EXPECT_EQ(fakes.opened().size(), kAboutLinkCount);
    EXPECT_EQ(clipboardText(), clipboard);
    EXPECT_TRUE(before == tagPages());
}

} // namespace

#include "aboutpage_test.moc"
