#include "tests/model/toolmodel.h"

#include "core/catalog/pagecatalog.h"

namespace toolmodel {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The page data files, by page number (the about page has none).
const char *const kDataFiles[kPageCount] = {"home.page",  "lists.page", "content.page",
                                            "shop.page",  "other.page", "ui.page",
                                            "files.page", "functions.page", nullptr};

// The fixed snippets of each page's entries as text, by the entry's name.
const QMap<QString, QString> &entryTexts(int page)
{
    static const std::array<QMap<QString, QString>, kPageCount> texts = [] {
        std::array<QMap<QString, QString>, kPageCount> all;
        for (int p = 1; p <= kPageCount; ++p) {
            if (!kDataFiles[p - 1])
                continue;
            const PageCatalog catalog = PageCatalog::load(QStringLiteral(":/catalog/") + QString::fromLatin1(kDataFiles[p - 1]));
            for (const CatalogControl *entry : catalog.entries())
                all[p - 1].insert(entry->name, linesText(entry->lines));
        }
        return all;
    }();
    return texts[page - 1];
}

bool digitsOnly(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QStringView withoutSign(QStringView text)
{
    return !text.isEmpty() && (text.front() == u'+' || text.front() == u'-') ? text.mid(1) : text;
}

struct Row {
    const char16_t *item;
    const char16_t *value;
};

QStringList items(std::initializer_list<Row> rows)
{
    QStringList result;
    for (const Row &row : rows)
        result << QString::fromUtf16(row.item);
    return result;
}

QString valueOf(std::initializer_list<Row> rows, const QString &item, const QString &otherwise = {})
{
    for (const Row &row : rows) {
        if (item == QString::fromUtf16(row.item))
            return QString::fromUtf16(row.value);
    }
    return otherwise;
}

const std::initializer_list<Row> kColumnTypes = {
    {u"顶级栏目", u"top"}, {u"同级栏目", u"self"}, {u"下级栏目", u"son"},
    {u"下级同级", u"sonself"}, {u"第一层级", u"first"},
};
const std::initializer_list<Row> kOtherFields = {
    {u"下拉选择", u""},
    {u"英文名称", u"{$field.englist_name}"},
    {u"栏目图片", u"{$field.litpic}"},
    {u"栏目描述", u"{$field.seo_description}"},
};
const std::initializer_list<Row> kTimeStyles = {
    {u"无时间显示", u""},
    {u"2018年08月08日", u"{$field.add_time|MyDate='Y年m月d日',###}"},
    {u"2018-08-08", u"{$field.add_time|MyDate='Y-m-d',###}"},
    {u"2018-08-08 08:08:08", u"{$field.add_time|MyDate='Y-m-d H:i:s',###}"},
    {u"08-08 08:08:08(月-日 时-分-秒)", u"{$field.add_time|MyDate='m-d H:i:s',###}"},
    {u"08-08(月-日)", u"{$field.add_time|MyDate='m-d',###}"},
    {u"2018年08月08日 08:08:08", u"{$field.add_time|MyDate='Y年m月d日 H:i:s',###}"},
};
const std::initializer_list<Row> kFlags = {
    {u"无属性", u""},        {u"头条[h]", u" flag='h'"}, {u"推荐[c]", u" flag='c'"},
    {u"特荐[a]", u" flag='a'"}, {u"加粗[b]", u" flag='b'"}, {u"跳转[j]", u" flag='j'"},
    {u"幻灯[s]", u" flag='s'"}, {u"滚动[r]", u" flag='r'"}, {u"最热[d]", u" flag='d'"},
};
const std::initializer_list<Row> kOrderings = {
    {u"发布时间", u" orderby='now'"},
    {u"按点击数", u" orderby='click'"},
    {u"按排序号", u" orderby='sort_order'"},
    {u"随机排序", u" orderby='rand'"},
};

} // namespace

bool isNumber(const QString &text)
{
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == u' ')
        rest = rest.mid(1);
    while (!rest.isEmpty() && rest.back() == u' ')
        rest.chop(1);

    // Mantissa and exponent split at the first E or e.
    QStringView mantissa = rest;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] == u'e' || rest[i] == u'E') {
            const QStringView exponent = withoutSign(rest.mid(i + 1));
            if (exponent.isEmpty() || !digitsOnly(exponent))
                return false;
            mantissa = rest.left(i);
            break;
        }
    }
    mantissa = withoutSign(mantissa);
    const qsizetype point = mantissa.indexOf(u'.');
    const QStringView whole = point < 0 ? mantissa : mantissa.left(point);
    const QStringView fraction = point < 0 ? QStringView() : mantissa.mid(point + 1);
    return whole.size() + fraction.size() > 0 && digitsOnly(whole) && digitsOnly(fraction);
}

QString parameter(const QString &name, const QString &text)
{
    return isNumber(text) ? QStringLiteral(" ") + name + QStringLiteral("='") + text + QStringLiteral("'") : QString();
}

QString linesText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + kCrLf;
    return text;
}

QString articleOptionName(int option)
{
    return option == kClickCount ? QStringLiteral("articleClicks") : QStringLiteral("articleLayout%1").arg(option);
}

QStringList columnAttributes() { return items(kColumnTypes); }
QStringList otherFields() { return items(kOtherFields); }
QStringList timeStyles() { return items(kTimeStyles); }
QStringList articleAttributes() { return items(kFlags); }
QStringList orderings() { return items(kOrderings); }

ToolModel::ToolModel()
{
    start();
}

void ToolModel::start()
{
    m_visible = kHome;
    m_allCreated = false;
    for (int p = 1; p <= kPageCount; ++p) {
        PageState &s = state(p);
        s = PageState{};
        // The home page's box starts empty; the other tag pages show two
        // empty lines and a line of seven blanks.
        if (p != kHome && p != kAbout)
            s.output = linesText({QString(), QString(), QStringLiteral("       ")});
        for (const QString &box : boxNames(p))
            s.boxes.insert(box, QString());
        for (const QString &combo : comboNames(p))
            s.combos.insert(combo, comboItems(combo).first());
    }
}

void ToolModel::navigate(int target)
{
    m_allCreated = true;
    m_visible = target;
}

void ToolModel::write(int page, const QString &text, bool copy)
{
    state(page).output = text;
    if (copy && !m_clipboardRefusing)
        m_clipboard = text;
}

void ToolModel::clickOption(int page, const QString &name)
{
    state(page).selected = name;
    if (page == kHome && name == articleOptionName(kClickCount)) {
        write(page, linesText({QStringLiteral("{$field.click}")}), true);
        return;
    }
    for (int layout = 0; page == kHome && layout < kClickCount; ++layout) {
        if (name == articleOptionName(layout)) {
            write(page, articleListText(layout), true);
            return;
        }
    }
    write(page, entryTexts(page).value(name), true);
}

void ToolModel::boxChanged(int page, const QString &box, const QString &text)
{
    state(page).boxes[box] = text;
    if (page == kList) {
        // The title length writes but leaves the clipboard alone.
        write(page, listTagText(), box != QStringLiteral("listTitleLength"));
    } else if (box == QStringLiteral("columnId") || box == QStringLiteral("columnCount")) {
        write(page, menuText(), true);
    } else {
        // Every article list input rebuilds in layout one and selects it.
        state(page).selected = articleOptionName(0);
        write(page, articleListText(0), true);
    }
}

void ToolModel::comboChosen(int page, const QString &combo, const QString &item)
{
    state(page).combos[combo] = item;
    if (combo == QStringLiteral("columnAttribute")) {
        write(page, menuText(), true);
    } else if (combo == QStringLiteral("otherField") || combo == QStringLiteral("articleTimeStyle")) {
        // One placeholder line, or an empty box for the neutral first item;
        // a text outside the list writes and copies nothing.
        const auto &rows = combo == QStringLiteral("otherField") ? kOtherFields : kTimeStyles;
        if (!items(rows).contains(item))
            return;
        const QString line = valueOf(rows, item);
        write(page, line.isEmpty() ? QString() : line + kCrLf, true);
    } else {
        state(page).selected = articleOptionName(0);
        write(page, articleListText(0), true);
    }
}

void ToolModel::outputEdited(int page, const QString &text)
{
    state(page).output = text;
}

void ToolModel::clipboardSetElsewhere(const QString &text)
{
    m_clipboard = text;
}

QString ToolModel::menuText() const
{
    const PageState &home = page(kHome);
    return linesText({QStringLiteral("{zuvi:channel type='") + valueOf(kColumnTypes, home.combos[QStringLiteral("columnAttribute")])
                          + u'\'' + parameter(QStringLiteral("typeid"), home.boxes[QStringLiteral("columnId")])
                          + parameter(QStringLiteral("row"), home.boxes[QStringLiteral("columnCount")])
                          + QStringLiteral(" currentstyle='on'}"),
                      QStringLiteral("<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>"),
                      QStringLiteral("{/zuvi:channel}")});
}

QString ToolModel::articleListText(int layout) const
{
    const PageState &home = page(kHome);
    const QString opening = QStringLiteral("{zuvi:arclist")
                            + parameter(QStringLiteral("typeid"), home.boxes[QStringLiteral("articleColumnId")])
                            + valueOf(kFlags, home.combos[QStringLiteral("articleAttribute")])
                            + parameter(QStringLiteral("titlelen"), home.boxes[QStringLiteral("articleTitleLength")])
                            + parameter(QStringLiteral("infolen"), home.boxes[QStringLiteral("articleSummaryLength")])
                            + parameter(QStringLiteral("row"), home.boxes[QStringLiteral("articleRows")])
                            + valueOf(kOrderings, home.combos[QStringLiteral("articleOrder")],
                                      QStringLiteral(" orderby='now'"))
                            + u'}';
    const QString title = QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>");
    const QString picture = QStringLiteral("<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>");
    QStringList body;
    switch (layout) {
    case 0: body = {QStringLiteral("<a href='{$field.typeurl}'>{$field.typename}</a>"), title}; break;
    case 1: body = {title}; break;
    case 2: body = {picture}; break;
    case 3: body = {picture, QStringLiteral("<span>{$field.seo_description}...</span>")}; break;
    case 4: body = {title, QStringLiteral("<p>{$field.seo_description}...</p>")}; break;
    }
    return linesText(QStringList{opening, QStringLiteral("<li>")} + body
                     + QStringList{QStringLiteral("</li>"), QStringLiteral("{/zuvi:arclist}")});
}

QString ToolModel::listTagText() const
{
    const PageState &list = page(kList);
    return linesText({QStringLiteral("{zuvi:list") + parameter(QStringLiteral("titlelen"), list.boxes[QStringLiteral("listTitleLength")])
                          + parameter(QStringLiteral("infolen"), list.boxes[QStringLiteral("listSummaryLength")])
                          + parameter(QStringLiteral("pagesize"), list.boxes[QStringLiteral("listPageSize")]) + u'}',
                      QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
                      QStringLiteral("<span>{$field.seo_description}...</span>"), QStringLiteral("{/zuvi:list}")});
}

QStringList ToolModel::optionNames(int page)
{
    if (page < 1 || page >= kAbout)
        return {};
    QStringList names = entryTexts(page).keys();
    if (page == kHome) {
        for (int option = 0; option <= kClickCount; ++option)
            names << articleOptionName(option);
    }
    return names;
}

QStringList ToolModel::boxNames(int page)
{
    if (page == kHome) {
        return {"columnId", "columnCount", "articleColumnId", "articleTitleLength", "articleRows",
                "articleSummaryLength"};
    }
    if (page == kList)
        return {"listTitleLength", "listSummaryLength", "listPageSize"};
    return {};
}

QStringList ToolModel::comboNames(int page)
{
    if (page == kHome)
        return {"columnAttribute", "otherField", "articleTimeStyle", "articleAttribute", "articleOrder"};
    return {};
}

QStringList ToolModel::comboItems(const QString &combo)
{
    if (combo == QStringLiteral("columnAttribute"))
        return columnAttributes();
    if (combo == QStringLiteral("otherField"))
        return otherFields();
    if (combo == QStringLiteral("articleTimeStyle"))
        return timeStyles();
    if (combo == QStringLiteral("articleAttribute"))
        return articleAttributes();
    if (combo == QStringLiteral("articleOrder"))
        return orderings();
    return {};
}

} // namespace toolmodel
