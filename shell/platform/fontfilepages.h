#pragma once

// Gives back the pages of font files that FreeType has mapped into the
// program and read glyphs from. They are clean pages of the files, kept in
// the system's page cache; the program reads them again, from there, when it
// loads a glyph it has not drawn yet. Each glyph FreeType loads maps the
// 64 KiB of the file around it, so a few hundred Chinese characters of a
// 20 MB face kept 8 MiB of it counted as the program's own memory, long
// after their images were in Qt's glyph cache. Does nothing where the system
// offers no such call.
void releaseFontFilePages();
