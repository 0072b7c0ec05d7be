#include "shell/pagewindow.h"

#include "core/catalog/pagetable.h"
#include "core/product.h"
#include "shell/fonts.h"
#include "shell/platform/fontfilepages.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

PageWindow::PageWindow(int pageNumber) : m_pageNumber(pageNumber)
{
    setObjectName(QString::fromLatin1(pageInfo(pageNumber).windowName));
    setWindowTitle(windowCaption());
    setFixedSize(toPixels(clientArea(pageNumber)).size());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    // The own button is created first so that it leads the tab order and
    // holds the focus when the page is first shown.
    m_navigation.resize(kPageCount);
    auto createButton = [this](int index) {
        auto *button = new NavigationButton(QString::fromUtf16(pageInfo(index).caption), this);
        button->setObjectName(QStringLiteral("navigationButton%1").arg(index));
        button->setGeometry(toPixels(navigationButtonRect(m_pageNumber, index)));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { emit navigationClicked(qint16(index)); });
        m_navigation[index - kFirstPage] = button;
        return button;
    };
    NavigationButton *own = createButton(pageNumber);
    own->setFont(songFont(9));
    own->setBoldCaption(true);
    own->setDefault(true);
    for (int index = kFirstPage; index <= kLastPage; ++index) {
        if (index != pageNumber)
            createButton(index);
    }
    own->setFocus();
}

NavigationButton *PageWindow::navigationButton(int index) const
{
    return isPage(index) ? m_navigation[index - kFirstPage] : nullptr;
}

void PageWindow::present()
{
    if (!m_placed) {
        m_fontPagesToRelease = true;
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

void PageWindow::conceal()
{
    hide();
    // Hidden, the window would keep its backing store: on X11 an image
    // shared with the server. Shrunk to a pixel, the store gives it
    // back; the first paint after the next show() makes it whole again and
    // paints the page anew. The native window stays, and with it the
    // window's place and what the window manager keeps for it.
    QBackingStore *store = backingStore();
    if (store && store->size() != QSize(1, 1))
        store->resize(QSize(1, 1));
}

void PageWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_fontPagesToRelease)
        return;
    m_fontPagesToRelease = false;
    // Posted, so it runs once the controls are painted and the window flushed:
    // then every character on the page has its image in Qt's glyph cache.
    QMetaObject::invokeMethod(this, [] { releaseFontFilePages(); }, Qt::QueuedConnection);
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
