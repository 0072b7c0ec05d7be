#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// A builder described as data: its opening line as a list of parts, each
// bound to one of the builder's inputs, and the fixed lines after it. The
// pages get their snippets from it, and the editor export turns the same
// parts into tab stops and choice lists, so the two cannot drift apart.

// A drop-down's items and what each puts into the tag, in list order.
using ChoiceTable = std::vector<std::pair<QString, QString>>;

QStringList choiceItems(const ChoiceTable &table);
// The value of `item`; nothing for a text outside the list.
std::optional<QString> choiceValue(const ChoiceTable &table, const QString &item);

struct OpeningPart {
    enum class Kind {
        Text,     // `text` as it stands
        Number,   // numericFragment(text, input): " text='input'" or nothing
        Choice,   // the value `choices` gives the input
    };
    Kind kind = Kind::Text;
    QString text;                          // Text: the literal; Number: the attribute's name
    const ChoiceTable *choices = nullptr;  // Choice
    bool outsideGivesFirst = false;        // Choice: a text outside the list gives the first value, not nothing
    QString field;                         // Number, Choice: the input's name in editor templates
    QString suggestion;                    // Number: what an editor template offers before the user types
};

OpeningPart textPart(const QString &text);
OpeningPart numberPart(const QString &attribute, const QString &field, const QString &suggestion);
OpeningPart choicePart(const ChoiceTable &choices, const QString &field, bool outsideGivesFirst = false);

struct TagBuilder {
    QList<OpeningPart> opening;
    QStringList following;   // the lines after the opening line

    // Every part but text reads one input, in the order the parts stand.
    qsizetype inputCount() const;
    // The inputs as a page first shows them: boxes empty, drop-downs on
    // their first items.
    QStringList initialInputs() const;
    // The opening line; with `partStarts`, also where the text of each
    // part starts in it, one offset per part.
    QString openingLine(const QStringList &inputs, QList<qsizetype> *partStarts = nullptr) const;
    QStringList lines(const QStringList &inputs) const;
};
