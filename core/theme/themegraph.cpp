#include "core/theme/themegraph.h"

#include "core/theme/themeentries.h"
#include "core/theme/themeindex.h"

#include <QFileInfo>
#include <QSet>
#include <QString>

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s).replace(u'\n', u"\\n"_s);
    return u'"' + escaped + u'"';
}

class GraphWriter
{
public:
    explicit GraphWriter(bool several) : m_several(several) {}

    void theme(const ThemeIndex &index, int number)
    {
        const QString indent = m_several ? u"    "_s : u"  "_s;
        if (m_several) {
            m_out += u"  subgraph %1 {\n"_s.arg(quoted(u"cluster_%1"_s.arg(number)));
            m_out += u"    label=%1;\n"_s.arg(quoted(index.templateRoot()));
        }
        const QStringList templates = index.templates();
        QStringList entries;
        QStringList others;
        for (const QString &path : templates)
            (isEntryTemplate(index.relativePath(path)) ? entries : others) << path;
        if (!entries.isEmpty()) {
            m_out += indent + u"{\n"_s + indent + u"  rank=min;\n"_s;
            for (const QString &path : entries)
                m_out += indent + u"  "_s + node(index, path) + u";\n"_s;
            m_out += indent + u"}\n"_s;
        }
        for (const QString &path : others)
            m_out += indent + node(index, path) + u";\n"_s;
        // The files included that are no template of the index: missing, or
        // of another kind (an include of a .tpl file).
        QStringList outside;
        QSet<QString> seenOutside;
        QStringList edges;
        QSet<QString> seenEdges;
        for (const QString &path : templates) {
            for (const ThemeLink &link : index.find(path)->links) {
                if (link.kind != ThemeLinkKind::Include || link.target.isEmpty())
                    continue;
                if (!index.find(link.target) && !seenOutside.contains(link.target)) {
                    seenOutside.insert(link.target);
                    outside << link.target;
                }
                const QString edge = node(index, path) + u" -> "_s + node(index, link.target);
                if (!seenEdges.contains(edge)) {
                    seenEdges.insert(edge);
                    edges << edge;
                }
            }
        }
        for (const QString &path : outside) {
            const bool missing = !QFileInfo(path).isFile();
            m_out += indent + node(index, path)
                + (missing ? u" [style=dashed, color=red, fontcolor=red, tooltip=\"missing\"]"_s : QString()) + u";\n"_s;
        }
        for (const QString &edge : edges)
            m_out += indent + edge + u";\n"_s;
        if (m_several)
            m_out += u"  }\n"_s;
    }

    QString text() const { return m_out; }

private:
    QString node(const ThemeIndex &index, const QString &path) const
    {
        return quoted(m_several ? path : index.relativePath(path));
    }

    bool m_several;
    QString m_out;
};

} // namespace

QByteArray themeGraphDot(const QList<const ThemeIndex *> &themes)
{
    GraphWriter writer(themes.size() > 1);
    for (int i = 0; i < themes.size(); ++i)
        writer.theme(*themes[i], i);
    const QString text = u"digraph theme {\n"
                         u"  rankdir=TB;\n"
                         u"  node [shape=box, fontname=\"sans-serif\"];\n"_s
        + writer.text() + u"}\n"_s;
    return text.toUtf8();
}
