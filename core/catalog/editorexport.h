#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TagBuilder;

// The tag pages as editor templates, so that every tag is one prefix away
// in an editor: a VS Code snippets file and a JetBrains live template set.
// Each tag entry of a page with a data file becomes one template holding its
// lines; each builder becomes one whose numbers and drop-downs are fields
// the user tabs through.

// A place the user fills in on insertion.
struct TemplateField {
    QString name;          // an upper-case identifier, e.g. "COLUMN_ID"
    QString initial;       // what it holds on insertion: a number, or the first choice
    QStringList choices;   // a drop-down's texts in its order; empty for a free field
};

// Literal text, or the template's field of index `field`.
struct TemplateSpan {
    QString text;
    int field = -1;
    bool operator==(const TemplateSpan &) const = default;
};
using TemplateLine = QList<TemplateSpan>;

struct EditorTemplate {
    QString caption;      // as the page shows it
    int page = 0;         // whose navigation caption describes the template
    int tiebreak = 0;     // the entry's index; for a builder, a number after the page's entries
    QList<TemplateLine> lines;
    QList<TemplateField> fields;
    // Given by assignNames():
    QString prefix;       // typed in the editor: lower-case ASCII letters and digits
    QString key;          // the VS Code snippet's name
};

// A template that inserts `lines` as they stand.
EditorTemplate fixedTemplate(const QStringList &lines);
// A builder's template: its numbers become free fields holding their
// suggestions, its drop-downs choice fields of their values.
EditorTemplate builderTemplate(const TagBuilder &builder);

// Gives every template a prefix and a key unique in the set. The prefix is
// "zv" and the pinyin initials of the caption; the key is the caption.
// Where two templates would share one, the page number and then the
// tiebreak are added to the prefix, and the page's caption and then the
// tiebreak to the key, of each of them.
void assignNames(QList<EditorTemplate> &templates);

// Every tag entry of the pages with a data file, page by page in entry
// order, each page's builders after its entries; named.
QList<EditorTemplate> catalogTemplates();

// The template's lines in the snippet syntax of VS Code and of the
// Language Server Protocol: tab stops with their initial values, choices.
QStringList snippetBody(const EditorTemplate &t);
// The lines the template inserts when no field is changed.
QStringList insertedLines(const EditorTemplate &t);

// The JSON of a VS Code ".code-snippets" file.
QByteArray vsCodeSnippets(const QList<EditorTemplate> &templates);
// The XML of a JetBrains live template set.
QByteArray jetBrainsTemplateSet(const QList<EditorTemplate> &templates);

// The two files of catalogTemplates(), as the export command writes them:
// the bytes of the digest compiled in (catalogdigest.h), or where there is
// none, made from the page data.
QByteArray catalogVsCodeSnippets();
QByteArray catalogJetBrainsTemplateSet();
