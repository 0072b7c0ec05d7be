// Dragging an entry out: past the drag distance it carries the bytes a click
// copies, as plain text, and chooses nothing; short of it, it is a click.
#include "tests/support/pagedata.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QDrag>
#include <QMimeData>

namespace {

// A press at the middle of `button`, a move by `offset` with the button
// held, and the release there. Returns the drag the gesture started, its
// mime data still there, or nullptr.
QDrag *pressMoveRelease(QWidget *button, QPoint offset, Qt::MouseButton mouseButton = Qt::LeftButton)
{
    // A drag ended earlier is gone, so that the one found is this gesture's.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QPoint start = button->rect().center();
    QTest::mousePress(button, mouseButton, {}, start);
    QTest::mouseMove(button, start + offset);
    // The offscreen platform ends a drag at once; Qt deletes it later.
    QDrag *drag = button->findChild<QDrag *>();
    QTest::mouseRelease(button, mouseButton, {}, start + offset);
    return drag;
}

QPoint pastDragDistance()
{
    return QPoint(QApplication::startDragDistance() + 1, 0);
}

class DragEveryEntry : public PagesFixture, public testing::WithParamInterface<int> {};

TEST_P(DragEveryEntry, CarriesTheBytesAClickCopiesAndChoosesNothing)
{
    const int number = GetParam();
    goTo(number);
    for (const CatalogControl *control : pageData(number).entries()) {
        SCOPED_TRACE(control->name.toStdString());
        QAbstractButton *dragged = entry(number, control->index);
        ASSERT_NE(dragged, nullptr);
        QAbstractButton *selectedBefore = content(number)->selectedOption();
        const QString outputBefore = outputText(number);
        const QString clipboardBefore = clipboardText();

        const QDrag *drag = pressMoveRelease(dragged, pastDragDistance());
        ASSERT_NE(drag, nullptr) << "no drag started";
        ASSERT_NE(drag->mimeData(), nullptr);
        const QByteArray carried = drag->mimeData()->data(QStringLiteral("text/plain"));
        EXPECT_EQ(drag->mimeData()->formats(), QStringList{QStringLiteral("text/plain")});

        EXPECT_FALSE(dragged->isChecked());
        EXPECT_EQ(content(number)->selectedOption(), selectedBefore);
        EXPECT_EQ(outputText(number), outputBefore);
        EXPECT_EQ(clipboardText(), clipboardBefore);

        // The same bytes, CR LF and all, as the click then copies.
        clickOn(dragged);
        ASSERT_TRUE(dragged->isChecked());
        EXPECT_EQ(carried, clipboardText().toUtf8());
    }
}

INSTANTIATE_TEST_SUITE_P(TagPages, DragEveryEntry, testing::Range(int(Page::Home), int(Page::ExtensionFunctions) + 1),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::string(pageInfo(info.param).windowName);
                         });

class DragGesture : public PagesFixture {};

struct Gesture {
    const char *what;
    const char *control;       // on the home page
    QPoint offset;             // from the middle of the control, button held
    Qt::MouseButton button;
    bool drags;
    bool chooses;
};

TEST_F(DragGesture, OnlyALeftPressMovedPastTheDistanceOnATagEntryDrags)
{
    const int distance = QApplication::startDragDistance();
    const Gesture gestures[] = {
        {"a move short of the distance is a click", "homePageTag1", QPoint(distance - 1, 0), Qt::LeftButton, false,
         true},
        // Entries are lower than twice the distance: the pointer leaves one
        // before the drag starts.
        {"upwards out of the entry", "homePageTag2", QPoint(0, -distance - 1), Qt::LeftButton, true, false},
        {"the right button", "homePageTag3", QPoint(distance + 5, 0), Qt::RightButton, false, false},
        // Released inside, as before: a click.
        {"a layout option, which is no tag entry", "articleLayout1", QPoint(distance + 5, 0), Qt::LeftButton, false,
         true},
    };
    for (const Gesture &g : gestures) {
        SCOPED_TRACE(g.what);
        QAbstractButton *control = content(Page::Home)->widget<QAbstractButton>(QString::fromLatin1(g.control));
        QApplication::clipboard()->setText(QStringLiteral("before the gesture"));
        const bool wasChecked = control->isChecked();

        const QDrag *drag = pressMoveRelease(control, g.offset, g.button);
        EXPECT_EQ(drag != nullptr, g.drags);
        EXPECT_EQ(clipboardText() != QStringLiteral("before the gesture"), g.chooses);
        EXPECT_EQ(control->isChecked(), g.chooses || wasChecked);
    }
}

} // namespace
