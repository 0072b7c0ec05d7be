#pragma once

// Has fontconfig read its configuration and font cache on a thread of its
// own while the QApplication connects to the display. Called before the
// QApplication exists. Does nothing where the program is built without
// fontconfig.
void startReadingFontConfiguration();

// Waits until that reading is done; at once where none was started. Called
// before Qt first asks for the fonts: Qt's own FcInit() would otherwise read
// the whole configuration a second time beside the thread, on the main
// thread, whenever the thread is not done yet.
void awaitFontConfiguration();
