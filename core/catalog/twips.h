#pragma once

#include <QRect>
#include <QtMath>

// Every position and size in the page data is in twips (1/1440 inch); the
// screen has 15 twips to the pixel at 96 dots per inch. This is the one place
// where twips become pixels.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const TwipRect &, const TwipRect &) = default;
};

constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    // Round half away from zero, as positions may be negative while dragging;
    // wide arithmetic, so that no int, however large, overflows.
    const qint64 t = twips;
    return int(t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel));
}

inline QRect toPixels(const TwipRect &r)
{
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top),
                 twipsToPixels(r.width), twipsToPixels(r.height));
}
