#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// One of the about page's five links to the vendor's web pages: the address
// its label shows, the address a click opens and the label's tooltip.
struct AboutLink {
    QString shown;
    QUrl opened;
    QString tip;
};

// Label2(0)..Label2(4): home site, help manual, template centre, licence
// purchase, plug-in centre (the array's order, not the order on screen).
constexpr qint16 kAboutLinkCount = 5;

// The link of Label2(index); nothing for an index outside 0..4.
std::optional<AboutLink> aboutLink(qint16 index);
