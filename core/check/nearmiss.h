#pragma once

#include <QString>
#include <QStringView>

// Whether a name that is not known was meant to be one that is: a slip of
// the keyboard, one edit away (a letter left out, added, changed, or two
// swapped), two for names longer than six characters. The checker's "did
// you mean" and the pairing of a misspelled closing tag share the rule.
int typingDistance(QStringView a, QStringView b);
bool isSlipOf(QStringView typed, QStringView known);

// The known name closest to what was typed, among those it is a slip of;
// the first considered wins a tie.
class NearestName
{
public:
    explicit NearestName(QStringView typed) : m_typed(typed) {}
    void consider(QStringView known);
    const QString &best() const { return m_best; }

private:
    QStringView m_typed;
    QString m_best;
    int m_distance = 0;
};
