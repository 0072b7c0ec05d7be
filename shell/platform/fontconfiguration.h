#pragma once

// Has fontconfig read its configuration and font cache on a thread of its
// own, which yields to every other, while the QApplication connects to the
// display. Called before the QApplication exists; nothing waits for it.
// Does nothing where the program is built without fontconfig.
void startReadingFontConfiguration();
