#include "core/catalog/tagbuilder.h"

#include "core/catalog/numeric.h"

QStringList choiceItems(const ChoiceTable &table)
{
    QStringList result;
    for (const auto &row : table)
        result << row.first;
    return result;
}

std::optional<QString> choiceValue(const ChoiceTable &table, const QString &item)
{
    for (const auto &row : table) {
        if (row.first == item)
            return row.second;
    }
    return std::nullopt;
}

OpeningPart textPart(const QString &text)
{
    return OpeningPart{OpeningPart::Kind::Text, text, nullptr, false, QString(), QString()};
}

OpeningPart numberPart(const QString &attribute, const QString &field, const QString &suggestion)
{
    return OpeningPart{OpeningPart::Kind::Number, attribute, nullptr, false, field, suggestion};
}

OpeningPart choicePart(const ChoiceTable &choices, const QString &field, bool outsideGivesFirst)
{
    return OpeningPart{OpeningPart::Kind::Choice, QString(), &choices, outsideGivesFirst, field, QString()};
}

qsizetype TagBuilder::inputCount() const
{
    qsizetype count = 0;
    for (const OpeningPart &part : opening)
        count += part.kind != OpeningPart::Kind::Text;
    return count;
}

QStringList TagBuilder::initialInputs() const
{
    QStringList inputs;
    for (const OpeningPart &part : opening) {
        if (part.kind == OpeningPart::Kind::Number)
            inputs << QString();
        else if (part.kind == OpeningPart::Kind::Choice)
            inputs << part.choices->front().first;
    }
    return inputs;
}

QString TagBuilder::openingLine(const QStringList &inputs, QList<qsizetype> *partStarts) const
{
    Q_ASSERT(inputs.size() == inputCount());
    QString line;
    qsizetype input = 0;
    for (const OpeningPart &part : opening) {
        if (partStarts)
            partStarts->append(line.size());
        switch (part.kind) {
        case OpeningPart::Kind::Text:
            line += part.text;
            break;
        case OpeningPart::Kind::Number:
            line += numericFragment(part.text, inputs[input++]);
            break;
        case OpeningPart::Kind::Choice: {
            const QString fallback = part.outsideGivesFirst ? part.choices->front().second : QString();
            line += choiceValue(*part.choices, inputs[input++]).value_or(fallback);
            break;
        }
        }
    }
    return line;
}

QStringList TagBuilder::lines(const QStringList &inputs) const
{
    return QStringList{openingLine(inputs)} + following;
}
