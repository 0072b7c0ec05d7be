#pragma once

#include <QPushButton>

// A button of a page's navigation bar. The page's own button has its caption
// in bold.
//
// The Song face has a single weight, so its bold is always made up. A bold
// font would make it with a font engine of its own, widening the face's
// bitmaps by a pixel, about a millisecond of font set-up on the way to the
// page's first paint. The caption is struck once more a pixel to the right
// instead, which at 1x gives the same pixels; on a dense screen it is struck
// once for each device pixel of a logical one, for the same weight.
class NavigationButton : public QPushButton
{
public:
    NavigationButton(const QString &caption, QWidget *parent);

    bool hasBoldCaption() const { return m_boldCaption; }
    void setBoldCaption(bool bold);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_boldCaption = false;
};
