#pragma once

#include <QByteArray>
#include <QList>

class ThemeIndex;

// The include graph of one or more themes as Graphviz DOT: a box for each
// template, an arrow from a template to each file it includes. The entry
// templates (core/theme/themeentries.h) stand in the top row; a file included
// but missing is dashed and red. Nodes are named by their path under the
// template root; where several themes are drawn, by their absolute path,
// each theme in a frame of its own. The same index gives the same text.
QByteArray themeGraphDot(const QList<const ThemeIndex *> &themes);
