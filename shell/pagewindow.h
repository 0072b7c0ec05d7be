#pragma once

#include "shell/navigationbutton.h"

#include <QWidget>

// One page of the tool: a fixed-size top-level window with the caption and
// the navigation bar that every page shares. What the page holds besides is
// its content object, created on this window when the page is built.
class PageWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PageWindow(int pageNumber);

    int pageNumber() const { return m_pageNumber; }
    // The button that shows page `index` (1..9), named navigationButton<index>.
    NavigationButton *navigationButton(int index) const;
    NavigationButton *ownButton() const { return navigationButton(m_pageNumber); }
    QObject *content() const { return m_content; }
    void setContent(QObject *content) { m_content = content; }

    // Shows the window, centred on the screen the first time, where the user
    // left it afterwards. Once it is painted the first time, the pages of
    // font files that loading its characters read are given back
    // (releaseFontFilePages()); shown again, it loads no new ones.
    void present();
    // Hides the window and gives back the image it is drawn into (on X11
    // shared with the server). Its controls keep their state, the
    // window its place and the control with the focus; present() draws the
    // page anew.
    void conceal();

signals:
    void navigationClicked(qint16 index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_pageNumber;
    QList<NavigationButton *> m_navigation;   // in page order, from the home page's
    QObject *m_content = nullptr;
    bool m_placed = false;
    bool m_fontPagesToRelease = false;
};
