#include "shell/applicationicon.h"

#include "shell/resourceimage.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <map>
#include <memory>
#include <utility>

namespace {

constexpr int kDrawnSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The sizes a window hands to the window manager: Qt writes every size the
// icon offers into each new window, so the 256 px drawing stays for the theme
// icon the package installs (docs/performance.md).
constexpr int kWindowSizes[] = {16, 24, 32, 48, 64, 128};

QString drawingFile(int size)
{
    return QStringLiteral(":/shell/icons/zuvi-taggen-%1.png").arg(size);
}

// The drawings, shared by every copy of the icon, each decoded when it is
// first asked for.
class IconDrawings
{
public:
    const QPixmap &drawing(int size)
    {
        auto it = m_decoded.find(size);
        if (it == m_decoded.end())
            it = m_decoded.emplace(size, QPixmap::fromImage(resourceImage(drawingFile(size)))).first;
        return it->second;
    }

private:
    std::map<int, QPixmap> m_decoded;
};

class ApplicationIconEngine : public QIconEngine
{
public:
    explicit ApplicationIconEngine(std::shared_ptr<IconDrawings> drawings) : m_drawings(std::move(drawings)) {}

    QIconEngine *clone() const override { return new ApplicationIconEngine(m_drawings); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : kWindowSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(qMin(size.width(), size.height()), kDrawnSizes[std::size(kDrawnSizes) - 1]);
        return QSize(side, side);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        // The smallest drawing that covers the request, scaled down if it
        // is not an exact size; the largest one where none covers it.
        const int wanted = qMax(size.width(), size.height());
        int chosen = kDrawnSizes[std::size(kDrawnSizes) - 1];
        for (int drawn : kDrawnSizes) {
            if (drawn >= wanted) {
                chosen = drawn;
                break;
            }
        }
        const QPixmap &drawing = m_drawings->drawing(chosen);
        const QSize given = actualSize(size, QIcon::Normal, QIcon::Off);
        if (drawing.isNull() || drawing.size() == given)
            return drawing;
        return drawing.scaled(given, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    QString key() const override { return QStringLiteral("ApplicationIconEngine"); }

private:
    std::shared_ptr<IconDrawings> m_drawings;
};

} // namespace

QIcon applicationIcon()
{
    static const auto drawings = std::make_shared<IconDrawings>();
    return QIcon(new ApplicationIconEngine(drawings));
}
