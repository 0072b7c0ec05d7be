#include "shell/catalogpage.h"

#include "core/catalog/pagetable.h"
#include "shell/dropdown.h"
#include "shell/entrybutton.h"
#include "shell/fonts.h"
#include "shell/outputbox.h"
#include "shell/pageoptions.h"
#include "shell/parameterbox.h"
#include "shell/qtpageview.h"
#include "shell/resourceimage.h"

#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <QStyle>


namespace {

void setTextColor(QWidget *widget, QPalette::ColorRole sourceRole, const QColor &fixed = {})
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, fixed.isValid() ? fixed : palette.color(sourceRole));
    widget->setPalette(palette);
}

// The grey of the usage line: the button shadow, taken two fifths of the way
// towards the text colour. With the default palette the shadow stands at
// 2.3:1 against the window, too faint to read; this grey at 5.5:1, well
// apart from the text at 18:1.
QColor secondaryTextColor(const QPalette &palette)
{
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor text = palette.color(QPalette::WindowText);
    const auto mix = [](float from, float to) { return from + (to - from) * 0.4f; };
    return QColor::fromRgbF(mix(shadow.redF(), text.redF()), mix(shadow.greenF(), text.greenF()),
                            mix(shadow.blueF(), text.blueF()));
}

// Option buttons drawn 12 px high would clip their captions; they keep their
// place but grow, around their middle, to the height their font needs.
QRect fitHeight(QRect rect, const QWidget *widget)
{
    // From the font's and the indicator's heights, not the size hint, which
    // would lay out the caption (and load its glyphs) for a page not yet shown.
    const int needed = qMax(widget->fontMetrics().height(),
                            widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, widget))
                       + 2;
    if (rect.height() < needed)
        rect.adjust(0, -(needed - rect.height()) / 2, 0, (needed - rect.height() + 1) / 2);
    return rect;
}

// A picture comes as `name.png` and, drawn at twice the size for dense
// screens, `name@2x.png`. Only the one the screen needs is taken.
QImage decodePicture(const QString &source, qreal devicePixelRatio)
{
    if (const qsizetype dot = source.lastIndexOf(u'.'); devicePixelRatio > 1 && dot > 0) {
        QImage dense = resourceImage(source.left(dot) + QStringLiteral("@2x") + source.mid(dot));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2);
            return dense;
        }
    }
    return resourceImage(source);
}

} // namespace

CatalogPage::CatalogPage(QWidget *window, int page, Clipboard &clipboard)
    : QObject(window), m_page(page), m_catalog(PageCatalog::load(dataFilePath(page)))
{
    QMap<qint16, QAbstractButton *> entries;
    QList<QWidget *> raisedOverFrames;
    QMap<QString, QList<QAbstractButton *>> optionsByFrame;
    for (const CatalogControl &control : m_catalog.controls()) {
        QWidget *parent = control.onPage() ? window : m_widgets.value(control.frame);
        QWidget *widget = createControl(control, parent);
        m_widgets.insert(control.name, widget);
        if (control.kind == CatalogControl::Kind::Entry)
            entries.insert(control.index, qobject_cast<QAbstractButton *>(widget));
        if (control.kind != CatalogControl::Kind::Frame && parent == window)
            raisedOverFrames.append(widget);
        if (control.kind == CatalogControl::Kind::Entry || control.kind == CatalogControl::Kind::Option)
            optionsByFrame[m_catalog.shownInFrame(control)].append(qobject_cast<QAbstractButton *>(widget));
    }
    m_options = new PageOptions(this);
    for (const QList<QAbstractButton *> &options : std::as_const(optionsByFrame))
        m_options->addGroup(options);
    // Controls of the page that lie over a frame's area are drawn above it.
    for (QWidget *widget : raisedOverFrames)
        widget->raise();
    if (!m_output)
        qFatal("page data of page %d has no output box", page);
    m_view = std::make_unique<QtPageView>(m_output, clipboard);
    m_view->setOutputText(initialOutputText(page));
    m_tagPage = std::make_unique<TagPage>(*m_view, m_catalog);

    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const qint16 index = it.key();
        connect(it.value(), &QAbstractButton::clicked, this, [this, index] { m_tagPage->onEntryClicked(index); });
        if (auto *entry = qobject_cast<EntryButton *>(it.value()))
            entry->setDragText([this, index] { return m_tagPage->snippet(index); });
    }
}

CatalogPage::~CatalogPage() = default;

PageView &CatalogPage::view()
{
    return *m_view;
}

QWidget *CatalogPage::widget(const QString &name) const
{
    QWidget *found = m_widgets.value(name);
    if (!found)
        qFatal("page %d has no control named %s in its data", m_page, qPrintable(name));
    return found;
}

void CatalogPage::wrongClass(const QString &name, const QWidget *found, const char *wanted) const
{
    qFatal("control %s of page %d is a %s, not a %s", qPrintable(name), m_page, found->metaObject()->className(),
           wanted);
}

QAbstractButton *CatalogPage::selectedOption() const
{
    return m_options->selected();
}

QWidget *CatalogPage::createControl(const CatalogControl &control, QWidget *parent)
{
    using Kind = CatalogControl::Kind;
    QWidget *widget = nullptr;
    switch (control.kind) {
    case Kind::Frame:
        widget = new QGroupBox(control.caption, parent);
        break;
    case Kind::Label:
    case Kind::Usage: {
        const bool usage = control.kind == Kind::Usage;
        auto *label = new QLabel(usage ? usageText() : control.caption, parent);
        // The page's geometry puts a caption at the top of its box, also
        // where the box is taller than one line.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (usage || control.font == CatalogControl::Font::Song10)
            label->setFont(songFont(10.5));
        if (usage || control.color == CatalogControl::Color::Grey)
            setTextColor(label, QPalette::WindowText, secondaryTextColor(label->palette()));
        else if (control.color == CatalogControl::Color::Red)
            setTextColor(label, QPalette::WindowText, QColor(255, 0, 0));
        widget = label;
        break;
    }
    case Kind::Output:
        widget = m_output = new OutputBox(parent);
        break;
    case Kind::TextBox: {
        auto *box = new ParameterBox(parent);
        box->setFont(songFont(10.5));
        widget = box;
        break;
    }
    case Kind::Combo:
        widget = new DropDown(parent);
        break;
    case Kind::Image: {
        // At its picture's natural size.
        auto *image = new QLabel(parent);
        const QImage picture = decodePicture(control.source, parent->devicePixelRatioF());
        image->setPixmap(QPixmap::fromImage(picture));
        image->setFixedSize(picture.deviceIndependentSize().toSize());
        widget = image;
        break;
    }
    case Kind::Option:
    case Kind::Entry: {
        auto *button = new EntryButton(control.caption, parent);
        // Rich text, so that a long tip wraps instead of running across the screen.
        if (!control.tip.isEmpty())
            button->setToolTip(Qt::convertFromPlainText(control.tip, Qt::WhiteSpaceNormal));
        widget = button;
        break;
    }
    }
    widget->setObjectName(control.name);
    QRect rect = toPixels(control.at);
    if (control.kind == Kind::Entry || control.kind == Kind::Option)
        rect = fitHeight(rect, widget);
    if (control.kind == Kind::Image)
        widget->move(rect.topLeft());
    else
        widget->setGeometry(rect);
    return widget;
}
