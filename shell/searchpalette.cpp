#include "shell/searchpalette.h"

#include "shell/parameterbox.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/pagetable.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

enum Role { PageNameRole = Qt::UserRole, FirstLineRole };

// Each result in two lines: the caption with its page's name, then the
// snippet's first line in grey.
class ResultDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // No width of its own: the list lays a row across its viewport. A width
    // taken from the view would be the viewport's before the vertical scroll
    // bar came, and with uniform item sizes it would stay until the next
    // query: a horizontal scroll bar and page names under the vertical one.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(0, 2 * option.fontMetrics.height() + 8);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        panel.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &palette = option.palette;
        const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        QColor grey = selected ? text : palette.color(QPalette::PlaceholderText);
        const QRect area = option.rect.adjusted(8, 4, -8, -4);
        const int lineHeight = option.fontMetrics.height();
        const QRect top(area.left(), area.top(), area.width(), lineHeight);
        const QRect bottom(area.left(), area.top() + lineHeight, area.width(), lineHeight);

        painter->save();
        const QString pageName = index.data(PageNameRole).toString();
        const int pageWidth = option.fontMetrics.horizontalAdvance(pageName);
        painter->setPen(grey);
        painter->drawText(top, Qt::AlignRight | Qt::AlignVCenter, pageName);
        painter->setPen(text);
        painter->drawText(top.adjusted(0, 0, -pageWidth - 12, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                        top.width() - pageWidth - 12));
        painter->setPen(grey);
        painter->drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(index.data(FirstLineRole).toString(), Qt::ElideRight,
                                                        bottom.width()));
        painter->restore();
    }
};

// The caption of a builder's layout option on its page ("布局样式二").
QString layoutCaption(const PageBuilder &builder, int layout)
{
    for (const CatalogTag &tag : catalogTags()) {
        if (tag.builder == &builder)
            return tag.layoutCaptions.value(layout);
    }
    return {};
}

// The edit's row: what it does and in which builder, the builder's page,
// and the first line of the snippet it will write.
QString editCaption(const BuilderReading &reading)
{
    QString caption = QStringLiteral("在生成器中编辑：") + QString::fromUtf16(reading.builder->caption);
    if (reading.builder->layoutCount() > 1)
        caption += QStringLiteral("（%1）").arg(layoutCaption(*reading.builder, reading.layout));
    return caption;
}

} // namespace

// The matches of the current query, as rows of the result list, with the
// edit in a builder among them where the query is a builder's tag.
class SearchResults : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void show(const TagSearch *search, QList<qsizetype> found, std::optional<BuilderReading> edit, int editRow)
    {
        beginResetModel();
        m_search = search;
        m_found = std::move(found);
        m_edit = std::move(edit);
        m_editRow = editRow;
        if (m_edit) {
            m_editCaption = editCaption(*m_edit);
            m_editFirstLine = m_edit->lines().value(0);
        }
        endResetModel();
    }
    bool isEdit(int row) const { return m_edit && row == m_editRow; }
    const BuilderReading &edit() const { return *m_edit; }
    const SearchItem &item(int row) const { return m_search->items()[m_found[m_edit && row > m_editRow ? row - 1 : row]]; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_found.size()) + (m_edit ? 1 : 0);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (isEdit(index.row())) {
            switch (role) {
            case Qt::DisplayRole: return m_editCaption;
            case PageNameRole: return QString::fromUtf16(pageInfo(m_edit->builder->page).caption);
            case FirstLineRole: return m_editFirstLine;
            default: return {};
            }
        }
        const SearchItem &found = item(index.row());
        switch (role) {
        case Qt::DisplayRole: return found.caption;
        case PageNameRole: return found.pageName;
        case FirstLineRole: return found.firstLine;
        default: return {};
        }
    }

private:
    const TagSearch *m_search = nullptr;
    QList<qsizetype> m_found;
    std::optional<BuilderReading> m_edit;
    int m_editRow = 0;
    QString m_editCaption;
    QString m_editFirstLine;
};

SearchPalette::SearchPalette()
    : QFrame(nullptr, Qt::Popup | Qt::FramelessWindowHint),
      m_query(new ParameterBox(this)), m_list(new QListView(this)), m_results(new SearchResults(this))
{
    setObjectName(QStringLiteral("SearchPalette"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    m_query->setObjectName(QStringLiteral("SearchQuery"));
    m_query->setPlaceholderText(QStringLiteral("输入标签名称、拼音、首字母或代码，如 分页、fenye、fybq、volist"));
    m_query->setClearButtonEnabled(true);
    m_query->installEventFilter(this);
    layout->addWidget(m_query);

    m_list->setObjectName(QStringLiteral("SearchResults"));
    m_list->setModel(m_results);
    m_list->setItemDelegate(new ResultDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_list);

    connect(m_query, &QLineEdit::textChanged, this, &SearchPalette::showResults);
    connect(m_list, &QListView::activated, this, &SearchPalette::chooseCurrent);
}

SearchPalette::~SearchPalette() = default;

const TagSearch &SearchPalette::search()
{
    if (!m_search)
        m_search = TagSearch::forAllPages();
    return *m_search;
}

void SearchPalette::openOver(QWidget *page, const QString &query)
{
    m_query->clear();
    m_query->pasteText(query);
    showResults();
    // Across the page's width, below its navigation bar.
    const QRect area = page->geometry();
    const int width = qMin(560, area.width() - 40);
    setGeometry(area.left() + (area.width() - width) / 2, area.top() + 44, width, qMin(400, area.height() - 80));
    show();
    activateWindow();
    m_query->setFocus();
}

void SearchPalette::showResults()
{
    const QString query = m_query->text();
    QList<qsizetype> found = search().find(query);
    // A pasted entry's snippet still finds the entry first.
    int editRow = 0;
    while (editRow < found.size() && search().isWholeSnippet(found[editRow], query))
        ++editRow;
    m_results->show(&search(), std::move(found), readBuilderSnippet(query), editRow);
    if (m_results->rowCount() > 0)
        m_list->setCurrentIndex(m_results->index(0));
}

void SearchPalette::chooseCurrent()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return;   // nothing matches: the palette stays open
    if (m_results->isEdit(current.row())) {
        const BuilderReading reading = m_results->edit();
        close();
        emit editChosen(reading);
        return;
    }
    const SearchItem item = m_results->item(current.row());
    close();
    emit chosen(item);
}

bool SearchPalette::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_query || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The field keeps the focus; the list moves.
        QApplication::sendEvent(m_list, event);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseCurrent();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}
