#pragma once

#include <QString>
#include <QStringList>

// The text form of a snippet: every line followed by CR LF, the last one too.
// This is what the output box shows and the clipboard receives.
QString snippetText(const QStringList &lines);
