#include "shell/pagewindow.h"

#include "shell/fonts.h"
#include "shell/navigation.h"
#include "shell/twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

QString windowCaption()
{
    return QStringLiteral("ZuviCMS标签生成器V3.3.20220111");
}

namespace {

struct NavigationButton {
    const char16_t *caption;
    int left;
    int width;
};

// Command1(1)..Command1(9), in one row at top 120, 375 high.
constexpr NavigationButton kNavigationBar[] = {
    {u"首页标签", 120, 1150},     {u"列表标签", 1245, 1150},     {u"内容标签", 2385, 1150},
    {u"商城标签", 3525, 1150},     {u"其他常用标签", 4665, 1590}, {u"可视编辑标签", 6240, 1550},
    {u"模板文件", 7770, 1150},     {u"扩展函数", 8910, 1150},     {u"关于Zuvi", 10050, 1150},
};
constexpr int kNavigationTop = 120;
constexpr int kNavigationHeight = 375;
// The content page's last button stands 30 twips further right.
constexpr int kContentPageAboutLeft = 10080;

TwipRect clientArea(int page)
{
    const bool narrow = page == Page::Home || page == Page::ExtensionFunctions;
    return TwipRect{0, 0, narrow ? 11295 : 11325, 9195};
}

const char *windowName(int page)
{
    static const char *const names[] = {"IndexForm", "ListsForm", "ContentForm", "ShopForm", "OtherForm",
                                        "UiForm",    "FileForm",  "FcnForm",     "AboutForm"};
    return names[page - 1];
}

} // namespace

TwipRect navigationButtonRect(int page, int index)
{
    const NavigationButton &data = kNavigationBar[index - 1];
    const int left = (index == Page::About && page == Page::Content) ? kContentPageAboutLeft : data.left;
    return TwipRect{left, kNavigationTop, data.width, kNavigationHeight};
}

PageWindow::PageWindow(int pageNumber) : m_pageNumber(pageNumber)
{
    setObjectName(QString::fromLatin1(windowName(pageNumber)));
    setWindowTitle(windowCaption());
    setFixedSize(toPixels(clientArea(pageNumber)).size());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    // The own button is created first so that it leads the tab order and
    // holds the focus when the page is first shown.
    m_navigation.resize(9);
    auto createButton = [this](int index) {
        auto *button = new QPushButton(QString::fromUtf16(kNavigationBar[index - 1].caption), this);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(index));
        button->setGeometry(toPixels(navigationButtonRect(m_pageNumber, index)));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { emit navigationClicked(qint16(index)); });
        m_navigation[index - 1] = button;
        return button;
    };
    QPushButton *own = createButton(pageNumber);
    own->setFont(songFont(9, true));
    own->setDefault(true);
    for (int index = 1; index <= 9; ++index) {
        if (index != pageNumber)
            createButton(index);
    }
    own->setFocus();
}

QPushButton *PageWindow::navigationButton(int index) const
{
    return index >= 1 && index <= m_navigation.size() ? m_navigation[index - 1] : nullptr;
}

void PageWindow::present()
{
    if (!m_placed) {
        m_placed = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void PageWindow::keyPressEvent(QKeyEvent *event)
{
    // The own button is both default and cancel button: Enter and Esc click
    // it, unless Enter lands on another push button, which then takes it.
    switch (event->key()) {
    case Qt::Key_Escape:
        ownButton()->click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else
            ownButton()->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
