#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// One of the about page's five links to the vendor's web pages: what it
// leads to, the address its label shows, the address a click opens and the
// label's tooltip. Its label is named <name>Link, the caption of its row
// <name>Caption.
struct AboutLink {
    QString name;
    QString shown;
    QUrl opened;
    QString tip;
};

// Home site, help manual, template centre, licence purchase, plug-in centre
// (the links' order, not the order of their rows on screen).
constexpr qint16 kAboutLinkCount = 5;

// Link `index`; nothing for an index outside 0..4.
std::optional<AboutLink> aboutLink(qint16 index);
