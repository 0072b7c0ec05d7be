#include "core/check/includegraph.h"

#include <algorithm>

qsizetype IncludeGraph::idOf(const QString &path)
{
    const auto known = m_ids.constFind(path);
    if (known != m_ids.cend())
        return *known;
    m_nodes.append(Node{path, {}, false, false, -1, -1, -1});
    m_ids.insert(path, m_nodes.size() - 1);
    return m_nodes.size() - 1;
}

void IncludeGraph::expand(qsizetype node, const QStringList &includes)
{
    m_nodes[node].expanded = true;
    QList<qsizetype> targets;
    targets.reserve(includes.size());
    for (const QString &include : includes)
        targets.append(idOf(include));   // may grow m_nodes: no reference held across
    m_nodes[node].targets = std::move(targets);
}

// Iterative, so that a long chain of includes cannot overflow the stack.
void IncludeGraph::walk(qsizetype root)
{
    struct Frame {
        qsizetype node;
        qsizetype next = 0;   // the next of its targets to follow
    };
    QList<Frame> frames;
    auto enter = [&](qsizetype node) {
        if (!m_nodes[node].expanded)
            expand(node, m_read(m_nodes[node].path));
        m_nodes[node].index = m_nodes[node].low = m_discovered++;
        m_nodes[node].onStack = true;
        m_stack.append(node);
        frames.append(Frame{node, 0});
    };
    enter(root);
    while (!frames.isEmpty()) {
        const qsizetype node = frames.last().node;
        const qsizetype next = frames.last().next;
        if (next < m_nodes[node].targets.size()) {
            ++frames.last().next;
            const qsizetype target = m_nodes[node].targets[next];
            if (m_nodes[target].index < 0)
                enter(target);
            else if (m_nodes[target].onStack)
                m_nodes[node].low = std::min(m_nodes[node].low, m_nodes[target].index);
            continue;
        }
        frames.removeLast();
        if (!frames.isEmpty()) {
            Node &parent = m_nodes[frames.last().node];
            parent.low = std::min(parent.low, m_nodes[node].low);
        }
        if (m_nodes[node].low == m_nodes[node].index) {
            qsizetype member;
            do {
                member = m_stack.takeLast();
                m_nodes[member].onStack = false;
                m_nodes[member].component = m_components;
            } while (member != node);
            ++m_components;
        }
    }
}

QStringList IncludeGraph::pathWithin(qsizetype from, qsizetype to) const
{
    const qsizetype component = m_nodes[to].component;
    QHash<qsizetype, qsizetype> cameFrom{{from, -1}};
    QList<qsizetype> queue{from};
    for (qsizetype head = 0; head < queue.size() && !cameFrom.contains(to); ++head) {
        for (const qsizetype target : m_nodes[queue[head]].targets) {
            if (m_nodes[target].component == component && !cameFrom.contains(target)) {
                cameFrom.insert(target, queue[head]);
                queue.append(target);
            }
        }
    }
    QStringList path;
    for (qsizetype node = to; node >= 0; node = cameFrom.value(node, -1))
        path.prepend(m_nodes[node].path);
    return path;
}

QList<QStringList> IncludeGraph::cycles(const QString &file, const QStringList &includes)
{
    const qsizetype self = idOf(file);
    if (m_nodes[self].index < 0) {
        expand(self, includes);
        walk(self);
    }
    QList<QStringList> found;
    found.reserve(includes.size());
    for (const QString &include : includes) {
        const auto target = m_ids.constFind(include);
        // `file` includes it, and it reaches `file` back: both in one component.
        const bool closes = target != m_ids.cend() && m_nodes[*target].component == m_nodes[self].component;
        found.append(closes ? QStringList{file} + pathWithin(*target, self) : QStringList());
    }
    return found;
}
