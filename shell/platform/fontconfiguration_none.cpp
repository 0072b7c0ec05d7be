#include "shell/platform/fontconfiguration.h"

// Built without fontconfig: Qt reads the fonts its own way at the first
// lookup.
void startReadingFontConfiguration() {}

void awaitFontConfiguration() {}
