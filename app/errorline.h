#pragma once

#include <QString>

// "zuvi-taggen: message" on standard error, in the locale's encoding. A name
// the user gave comes back in the bytes it was given in (see core/files/rawbytes.h).
void writeErrorLine(const QString &message);
