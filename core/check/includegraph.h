#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Which files of a site include one another round in a cycle (a includes b,
// b includes a), for the checker's E301. Files are nodes; each file's
// includes are read once, when a walk first reaches it, and each file is
// walked once however many others include it (Tarjan's strongly connected
// components), so a whole theme costs time linear in its files and includes.
class IncludeGraph
{
public:
    // The absolute paths a file includes, for files other than those checked
    // (read from disk by the session).
    using ReadIncludes = std::function<QStringList(const QString &file)>;
    explicit IncludeGraph(ReadIncludes read) : m_read(std::move(read)) {}

    // For each of `includes` of `file` (its text's, which may be newer than
    // the disk's): the cycle it closes back to `file`, `file` first and last;
    // empty where it closes none. A file already reached through another's
    // includes keeps the includes it was read with.
    QList<QStringList> cycles(const QString &file, const QStringList &includes);

private:
    struct Node {
        QString path;
        QList<qsizetype> targets;
        bool expanded = false;
        bool onStack = false;
        qsizetype index = -1;   // order of discovery; -1 before
        qsizetype low = -1;
        qsizetype component = -1;
    };

    qsizetype idOf(const QString &path);
    void expand(qsizetype node, const QStringList &includes);
    void walk(qsizetype root);
    // The files from `from` to `to` inside their component, both included.
    QStringList pathWithin(qsizetype from, qsizetype to) const;

    ReadIncludes m_read;
    QList<Node> m_nodes;
    QHash<QString, qsizetype> m_ids;
    QList<qsizetype> m_stack;   // Tarjan's stack
    qsizetype m_discovered = 0;
    qsizetype m_components = 0;
};
