#include "pages/about/aboutpage.h"

#include "core/product.h"
#include "core/catalog/twips.h"
#include "pages/about/aboutlinks.h"
#include "shell/fonts.h"
#include "shell/linkopener.h"
#include "shell/pagewindow.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>

QString aboutUserGroupsText()
{
    // The groups' numbers change over time; the home site says how to join.
    return QStringLiteral("Zuvi官方交流QQ群、Zuvi授权用户服务QQ群：加入方式请见Zuvi官方网站");
}

QString aboutCreditText()
{
    return QStringLiteral("作者：Zuvi");
}

namespace {

struct Caption {
    qint16 link;   // the link of its row
    TwipRect at;
    const char16_t *text;
};

// The row captions in the panel, top to bottom; they react to nothing.
const Caption kRowCaptions[] = {
    {0, {2520, 1800, 1815, 255}, u"Zuvi官方网站:"},
    {1, {2520, 2640, 1695, 255}, u"Zuvi帮助手册:"},
    {2, {2520, 3480, 1695, 255}, u"Zuvi模板中心:"},
    {4, {2520, 4320, 1815, 255}, u"Zuvi插件中心:"},
    {3, {2520, 5160, 1695, 255}, u"Zuvi授权购买:"},
};

// The links in the panel, in the links' order; on screen the licence
// purchase row (3) stands below the plug-in centre row (4).
constexpr TwipRect kLinkRects[kAboutLinkCount] = {
    {4440, 1800, 2295, 375}, {4440, 2640, 3015, 375}, {4440, 3480, 3255, 375},
    {4440, 5160, 3135, 255}, {4440, 4320, 3135, 255},
};

constexpr TwipRect kFrameRect{120, 600, 11055, 8175};
constexpr TwipRect kUserGroupsRect{1920, 6600, 7095, 255};   // in the panel
constexpr TwipRect kCreditRect{10200, 8880, 975, 255};       // on the page

QLabel *createLabel(const QString &name, const QString &text, const TwipRect &at, QWidget *parent,
                    QPalette::ColorRole colour, bool pageFont = true)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    if (pageFont)
        label->setFont(songFont(10.5));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(colour));
    label->setPalette(palette);
    // Text stands at the top of its rectangle, level with its row's caption.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(toPixels(at));
    return label;
}

} // namespace

AboutPage::AboutPage(PageWindow *window, Clipboard &clipboard)
    : QObject(window), m_opener(new LinkOpener(window, clipboard))
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setWindowIcon(QIcon(QStringLiteral(":/about/abouticon.png")));

    // A panel without caption: a thin border, white inside like the page.
    auto *frame = new QFrame(window);
    frame->setObjectName(QStringLiteral("linksPanel"));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    frame->setGeometry(toPixels(kFrameRect));

    for (const Caption &caption : kRowCaptions) {
        createLabel(aboutLink(caption.link)->name + QStringLiteral("Caption"), QString::fromUtf16(caption.text),
                    caption.at, frame, QPalette::ButtonText);
    }
    for (qint16 index = 0; index < kAboutLinkCount; ++index) {
        const AboutLink link = *aboutLink(index);
        QLabel *label = createLabel(link.name + QStringLiteral("Link"), link.shown, kLinkRects[index], frame,
                                    QPalette::Highlight);
        label->setToolTip(link.tip);
        label->setCursor(Qt::PointingHandCursor);
        // Nothing stands to the right of a link: an address longer than its
        // rectangle widens the label instead of being cut off.
        if (label->sizeHint().width() > label->width())
            label->resize(label->sizeHint().width(), label->height());
        label->installEventFilter(this);
        m_links.append(label);
    }
    createLabel(QStringLiteral("userGroupsLine"), aboutUserGroupsText(), kUserGroupsRect, frame, QPalette::ButtonText);
    createLabel(QStringLiteral("creditLine"), aboutCreditText(), kCreditRect, window, QPalette::ButtonText, false);
}

void AboutPage::openLink(qint16 index)
{
    const std::optional<AboutLink> link = aboutLink(index);
    if (!link)
        return;
    // Never waits for the browser; a failure shows as a notice.
    m_opener->open(link->opened);
}

bool AboutPage::eventFilter(QObject *watched, QEvent *event)
{
    // A click is a left-button release over the link that took the press.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const qsizetype index = m_links.indexOf(qobject_cast<QLabel *>(watched));
        if (index >= 0 && mouse->button() == Qt::LeftButton
            && m_links[index]->rect().contains(mouse->position().toPoint())) {
            openLink(qint16(index));
        }
    }
    return QObject::eventFilter(watched, event);
}
