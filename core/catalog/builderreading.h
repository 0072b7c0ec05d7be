#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

struct PageBuilder;

// A template tag, or a builder's whole snippet, read back into the inputs
// of the builder that writes it: the texts of its boxes, the items of its
// drop-downs and, for a builder with layouts, the layout its body shows.
struct BuilderReading {
    const PageBuilder *builder = nullptr;
    int layout = 0;
    QStringList inputs;    // in the order of the builder's inputs
    // What the text holds that the builder cannot write again, each as it
    // was written (an attribute as name=value), in the order of the text.
    QStringList notKept;

    // The snippet the builder writes from these inputs.
    QStringList lines() const;
};

// Reads `text` when it is, blanks around it aside, one opening tag of a
// builder, or that tag with what follows up to its closing tag. Attributes
// may stand in any order, in single or double quotes or none, with any
// blanks and line ends between them. Nothing for any other text, or for a
// tag the template parser finds broken.
std::optional<BuilderReading> readBuilderSnippet(QStringView text);
