#pragma once

#include "core/catalog/twips.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What a page's data file describes: its controls in file order, and among
// them the tag entries with their snippets. See catalog/README.md.
// The words the file uses for a choice from a fixed set are read once, by the
// parser, into these enums.
struct CatalogControl {
    enum class Kind { Frame, Label, Usage, Output, TextBox, Combo, Image, Option, Entry };
    enum class Color { Text, Red, Grey };    // `color = red | grey`; none: the text colour
    enum class Font { Page, Song10 };        // `font = song10` ("宋体" 10.5 pt); none: the page's font

    Kind kind = Kind::Label;
    QString name;        // control name, e.g. "downloadModel"; entry i is "<group>i", e.g. "listPageTag6"
    qint16 index = 0;    // entries only: the entry's index, its identity on the page
    QString frame;       // `in = <frame>`: the frame it stands in; empty for `in = page`
    TwipRect at;
    QString caption;     // frames, entries, options; label text
    QString tip;         // entries only, optional
    Color color = Color::Text;   // labels only
    Font font = Font::Page;      // labels only
    QString source;      // images: resource path
    QStringList lines;   // entries: the snippet

    bool onPage() const { return frame.isEmpty(); }
};

class PageCatalog
{
public:
    // Parses the text of a data file. On failure returns nothing and, if
    // `error` is given, says which line is wrong and why.
    static std::optional<PageCatalog> parse(const QString &text, QString *error = nullptr);
    // Loads a data file compiled into the program, e.g. dataFilePath(page).
    // A broken built-in file is a programming error and aborts.
    static PageCatalog load(const QString &path);

    const QList<CatalogControl> &controls() const { return m_controls; }
    const CatalogControl *control(const QString &name) const;
    const CatalogControl *entry(qint16 index) const;
    QList<const CatalogControl *> entries() const;   // by ascending index

    // The control's rectangle relative to the page's client area, following
    // its container chain.
    TwipRect pageRect(const CatalogControl &control) const;
    // The frame under which a control is shown: its own frame, or for a
    // control on the page the frame whose area holds its middle; empty if
    // none does.
    QString shownInFrame(const CatalogControl &control) const;

private:
    QList<CatalogControl> m_controls;
    QMap<qint16, qsizetype> m_entryPositions;   // entry index -> position in m_controls
};
