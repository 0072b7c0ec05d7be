#include "core/catalog/pagecatalog.h"

#include "core/product.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <limits>

namespace {

const QMap<QString, CatalogControl::Kind> &kindsByWord()
{
    using K = CatalogControl::Kind;
    static const QMap<QString, K> kinds = {
        {"frame", K::Frame},     {"label", K::Label},   {"usage", K::Usage},
        {"output", K::Output},   {"textbox", K::TextBox}, {"combo", K::Combo},
        {"image", K::Image},     {"option", K::Option}, {"entry", K::Entry},
    };
    return kinds;
}

const QMap<QString, CatalogControl::Color> &colorsByWord()
{
    using C = CatalogControl::Color;
    static const QMap<QString, C> colors = {{"red", C::Red}, {"grey", C::Grey}};
    return colors;
}

const QMap<QString, CatalogControl::Font> &fontsByWord()
{
    static const QMap<QString, CatalogControl::Font> fonts = {{"song10", CatalogControl::Font::Song10}};
    return fonts;
}

// "a, b or c", for a message that lists the words a key takes.
QString wordList(const QStringList &words)
{
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + words.last();
}

QString expandConstants(QStringView text)
{
    QString expanded = text.toString();
    if (text.contains(u'@'))
        expanded.replace(QStringLiteral("@HOME_SITE@"), homeSiteAddress());
    return expanded;
}

class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    std::optional<QList<CatalogControl>> run(QString *error)
    {
        // Lines as views: the page data is parsed at every start, and a copy
        // of each line cost a fifth of it.
        m_lineNo = 0;
        for (qsizetype start = 0; start <= m_text.size();) {
            qsizetype end = m_text.indexOf(u'\n', start);
            if (end < 0)
                end = m_text.size();
            const QStringView line = m_text.sliced(start, end - start);
            start = end + 1;
            ++m_lineNo;
            if (!handle(line)) {
                if (error)
                    *error = QStringLiteral("line %1: %2").arg(m_lineNo).arg(m_error);
                return std::nullopt;
            }
        }
        if (!finishSection()) {
            if (error)
                *error = QStringLiteral("end of file: %1").arg(m_error);
            return std::nullopt;
        }
        return m_controls;
    }

private:
    bool fail(const QString &message)
    {
        m_error = message;
        return false;
    }

    bool handle(QStringView line)
    {
        if (line.contains(u'\r'))
            return fail(QStringLiteral("carriage return in the file; use LF line ends"));
        if (line.isEmpty() || line.startsWith(u'#'))
            return true;
        if (line.startsWith(u'['))
            return startSection(line);
        if (line.startsWith(u'|'))
            return snippetLine(line);
        if (line.startsWith(QStringLiteral("@use ")))
            return useBlock(line.sliced(5).trimmed().toString());
        return keyValue(line);
    }

    bool startSection(QStringView line)
    {
        if (!finishSection())
            return false;
        if (!line.endsWith(u']'))
            return fail(QStringLiteral("section header without closing ]"));
        const QList<QStringView> wordViews = line.sliced(1, line.size() - 2).split(u' ', Qt::SkipEmptyParts);
        if (wordViews.size() != 2)
            return fail(QStringLiteral("a section header is [kind name]"));
        const QString words[2] = {wordViews[0].toString(), wordViews[1].toString()};
        if (words[0] == u"entries")
            return nameEntries(words[1]);
        if (words[0] == u"block") {
            if (m_blocks.contains(words[1]))
                return fail(QStringLiteral("block %1 defined twice").arg(words[1]));
            m_blockName = words[1];
            m_blocks.insert(m_blockName, {});
            return true;
        }
        const auto kind = kindsByWord().find(words[0]);
        if (kind == kindsByWord().end())
            return fail(QStringLiteral("unknown kind of control: %1").arg(words[0]));
        m_current = CatalogControl{};
        m_current->kind = *kind;
        if (*kind == CatalogControl::Kind::Entry) {
            bool ok = false;
            const int index = words[1].toInt(&ok);
            if (!ok || index < 0 || index > 32767)
                return fail(QStringLiteral("entry index must be a number from 0 to 32767"));
            if (m_entryGroup.isEmpty())
                return fail(QStringLiteral("an entry before [entries name], which names the page's entries"));
            m_current->index = static_cast<qint16>(index);
            m_current->name = m_entryGroup + QString::number(index);
        } else {
            m_current->name = words[1];
        }
        if (m_kindOf.contains(m_current->name))
            return fail(QStringLiteral("%1 defined twice").arg(m_current->name));
        m_hasGeometry = false;
        m_hasContainer = false;
        return true;
    }

    bool nameEntries(const QString &group)
    {
        if (!m_entryGroup.isEmpty())
            return fail(QStringLiteral("the entries are named twice"));
        m_entryGroup = group;
        return true;
    }

    bool finishSection()
    {
        m_blockName.clear();
        if (!m_current)
            return true;
        CatalogControl c = std::move(*m_current);
        m_current.reset();
        if (!m_hasContainer)
            return fail(QStringLiteral("%1 has no container (in = ...)").arg(c.name));
        if (!m_hasGeometry)
            return fail(QStringLiteral("%1 has no geometry (at = ...)").arg(c.name));
        if (c.kind == CatalogControl::Kind::Entry) {
            if (c.caption.isEmpty())
                return fail(QStringLiteral("%1 has no caption").arg(c.name));
            if (c.lines.isEmpty())
                return fail(QStringLiteral("%1 has no snippet lines").arg(c.name));
        } else if (!c.lines.isEmpty()) {
            return fail(QStringLiteral("%1 cannot hold snippet lines").arg(c.name));
        }
        m_kindOf.insert(c.name, c.kind);
        m_controls.append(std::move(c));
        return true;
    }

    bool snippetLine(QStringView line)
    {
        if (line.size() < 2 || !line.endsWith(u'|'))
            return fail(QStringLiteral("a snippet line must end with |"));
        if (line.contains(u'\t'))
            return fail(QStringLiteral("tab in a snippet line; use blanks"));
        const QString content = expandConstants(line.sliced(1, line.size() - 2));
        if (!m_blockName.isEmpty()) {
            m_blocks[m_blockName].append(content);
            return true;
        }
        if (!m_current || m_current->kind != CatalogControl::Kind::Entry)
            return fail(QStringLiteral("snippet line outside an entry or block"));
        m_current->lines.append(content);
        return true;
    }

    bool useBlock(const QString &name)
    {
        if (!m_current || m_current->kind != CatalogControl::Kind::Entry)
            return fail(QStringLiteral("@use outside an entry"));
        if (!m_blocks.contains(name))
            return fail(QStringLiteral("unknown block %1").arg(name));
        m_current->lines.append(m_blocks.value(name));
        return true;
    }

    bool keyValue(QStringView line)
    {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            return fail(QStringLiteral("expected key = value, a snippet line or a section"));
        if (!m_current)
            return fail(QStringLiteral("key outside a control section"));
        const QStringView key = line.first(eq).trimmed();
        const QString value = expandConstants(line.sliced(eq + 1).trimmed());
        CatalogControl &c = *m_current;
        if (key == u"in") {
            if (value != u"page" && !isFrame(value))
                return fail(QStringLiteral("container %1 is not a frame defined earlier").arg(value));
            c.frame = value == u"page" ? QString() : value;
            m_hasContainer = true;
        } else if (key == u"at") {
            const QList<QStringView> numbers = QStringView(value).split(u' ', Qt::SkipEmptyParts);
            int v[4] = {};
            bool ok = numbers.size() == 4;
            for (int i = 0; ok && i < 4; ++i)
                v[i] = numbers[i].toInt(&ok);
            if (!ok || v[2] < 0 || v[3] < 0)
                return fail(QStringLiteral("at = left top width height, four whole numbers"));
            c.at = TwipRect{v[0], v[1], v[2], v[3]};
            m_hasGeometry = true;
        } else if (key == u"caption" || key == u"text") {
            c.caption = value;
        } else if (key == u"tip") {
            c.tip = value;
        } else if (key == u"color") {
            return oneOf(colorsByWord(), key, value, c.color);
        } else if (key == u"font") {
            return oneOf(fontsByWord(), key, value, c.font);
        } else if (key == u"source") {
            c.source = value;
        } else {
            return fail(QStringLiteral("unknown key %1").arg(key));
        }
        return true;
    }

    // Reads `value` as one of the words of `words`, into `field`.
    template <typename Enum>
    bool oneOf(const QMap<QString, Enum> &words, QStringView key, const QString &value, Enum &field)
    {
        const auto found = words.find(value);
        if (found == words.end())
            return fail(QStringLiteral("%1 is %2").arg(key, wordList(words.keys())));
        field = *found;
        return true;
    }

    bool isFrame(const QString &name) const
    {
        return m_kindOf.value(name, CatalogControl::Kind::Entry) == CatalogControl::Kind::Frame;
    }

    QStringView m_text;
    QHash<QString, CatalogControl::Kind> m_kindOf;   // of every control finished so far
    qsizetype m_lineNo = 0;
    QString m_error;
    QList<CatalogControl> m_controls;
    std::optional<CatalogControl> m_current;
    bool m_hasGeometry = false;
    bool m_hasContainer = false;
    QHash<QString, QStringList> m_blocks;
    QString m_blockName;
    QString m_entryGroup;   // entry i is named m_entryGroup + i
};

} // namespace

std::optional<PageCatalog> PageCatalog::parse(const QString &text, QString *error)
{
    std::optional<QList<CatalogControl>> controls = Parser(text).run(error);
    if (!controls)
        return std::nullopt;

    PageCatalog catalog;
    catalog.m_controls = *controls;
    for (qsizetype i = 0; i < catalog.m_controls.size(); ++i) {
        const CatalogControl &c = catalog.m_controls[i];
        if (c.kind == CatalogControl::Kind::Entry)
            catalog.m_entryPositions.insert(c.index, i);
    }
    return catalog;
}

PageCatalog PageCatalog::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("page data %s is not built into the program", qPrintable(path));
    QString error;
    std::optional<PageCatalog> catalog = parse(QString::fromUtf8(file.readAll()), &error);
    if (!catalog)
        qFatal("page data %s: %s", qPrintable(path), qPrintable(error));
    return *catalog;
}

const CatalogControl *PageCatalog::control(const QString &name) const
{
    for (const CatalogControl &c : m_controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

const CatalogControl *PageCatalog::entry(qint16 index) const
{
    const auto it = m_entryPositions.find(index);
    return it == m_entryPositions.end() ? nullptr : &m_controls[*it];
}

QList<const CatalogControl *> PageCatalog::entries() const
{
    QList<const CatalogControl *> result;
    for (qsizetype position : m_entryPositions)
        result.append(&m_controls[position]);
    return result;
}

TwipRect PageCatalog::pageRect(const CatalogControl &control) const
{
    // Summed wide and clamped: page data with huge numbers must not overflow.
    qint64 left = control.at.left;
    qint64 top = control.at.top;
    for (const CatalogControl *c = &control; !c->onPage();) {
        c = this->control(c->frame);
        if (!c)
            break;
        left += c->at.left;
        top += c->at.top;
    }
    auto clamped = [](qint64 v) {
        return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return TwipRect{clamped(left), clamped(top), control.at.width, control.at.height};
}

QString PageCatalog::shownInFrame(const CatalogControl &control) const
{
    if (!control.onPage())
        return control.frame;
    const TwipRect r = pageRect(control);
    const qint64 middleX = qint64(r.left) + r.width / 2;
    const qint64 middleY = qint64(r.top) + r.height / 2;
    for (const CatalogControl &c : m_controls) {
        if (c.kind != CatalogControl::Kind::Frame || &c == &control)
            continue;
        const TwipRect f = pageRect(c);
        if (middleX >= f.left && middleX < qint64(f.left) + f.width && middleY >= f.top && middleY < qint64(f.top) + f.height)
            return c.name;
    }
    return QString();
}
