#pragma once

#include <QString>

// The program's name as installed, not the path it was started by.
QString programName();

// "zuvi-taggen: message" on standard error, in the locale's encoding. A name
// the user gave comes back in the bytes it was given in (see core/rawbytes.h).
void writeErrorLine(const QString &message);
