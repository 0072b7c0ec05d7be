#pragma once

#include <QByteArray>
#include <QString>

// What `check --graph FILE` writes: the include graph as Graphviz DOT, or,
// for a FILE ending in .svg, the picture Graphviz's `dot` draws of it, run
// as a child process for at most a minute. The file goes through the same
// writer as the report (core/files/outputfile.h).
class GraphOutput
{
public:
    explicit GraphOutput(QByteArray target) : m_target(std::move(target)) {}

    // Why the graph cannot be written as asked before the check even
    // starts (a picture without `dot` installed); empty where it can.
    QString problem() const;
    // Writes the graph; returns the error, empty where all was written.
    QString write(const QByteArray &dot) const;

private:
    bool wantsPicture() const;
    QString draw(const QByteArray &dot, QByteArray *svg) const;

    QByteArray m_target;
};
