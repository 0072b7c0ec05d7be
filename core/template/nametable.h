#pragma once

#include <QStringView>

#include <algorithm>
#include <cstring>
#include <vector>

// Names, each in a group (a number of the caller's: the tag an attribute
// name belongs to), to values. The names are views of text held elsewhere,
// which must outlive the table. The checker looks up every tag's name and
// attributes: hashing the UTF-16 units in line and comparing lengths first
// costs a fraction of QHash's general string hashing and comparing.
template <typename Value>
class NameTable
{
public:
    bool isEmpty() const { return m_entries.empty(); }
    qsizetype size() const { return qsizetype(m_entries.size()); }

    void clear()
    {
        m_entries.clear();
        m_slots.clear();
    }

    void reserve(qsizetype count)
    {
        m_entries.reserve(size_t(count));
        if (size_t(slotsFor(count)) > m_slots.size())
            rehash(slotsFor(count));
    }

    // The value of `name` in `group`, or null.
    const Value *find(QStringView name, quint32 group = 0) const
    {
        if (m_slots.empty())
            return nullptr;
        const quint32 entry = m_slots[size_t(slotOf(name, group, hashOf(name, group)))];
        return entry ? &m_entries[entry - 1].value : nullptr;
    }

    // The value of `name` in `group`, put in as Value() when missing.
    Value &entry(QStringView name, quint32 group = 0) { return valueAt(indexOf(name, group)); }

    // Where `name` in `group` stands, put in as Value() when missing: a
    // place that stays while the table lasts (until clear()), so that a
    // caller coming back to the same name need not hash it again.
    qsizetype indexOf(QStringView name, quint32 group = 0)
    {
        if (2 * (m_entries.size() + 1) > m_slots.size())
            rehash(slotsFor(size() + 1));
        const quint32 hash = hashOf(name, group);
        quint32 &slot = m_slots[size_t(slotOf(name, group, hash))];
        if (!slot) {
            m_entries.push_back({name, group, hash, Value()});
            slot = quint32(m_entries.size());
        }
        return slot - 1;
    }
    Value &valueAt(qsizetype index) { return m_entries[size_t(index)].value; }

private:
    struct Entry {
        QStringView name;
        quint32 group;
        quint32 hash;
        Value value;
    };

    // Four units as one word; names of four units or more end with the
    // word of their last four, which may overlap the one before.
    static quint64 wordAt(const char16_t *units, qsizetype i)
    {
        quint64 word;
        std::memcpy(&word, units + i, sizeof word);
        return word;
    }

    // The group, the length and the name's words, each step mixed by a
    // multiplication and a shift.
    static quint32 hashOf(QStringView name, quint32 group)
    {
        constexpr quint64 kMultiplier = 0x9e3779b97f4a7c15ULL;
        const auto mix = [](quint64 hash, quint64 word) {
            hash = (hash ^ word) * kMultiplier;
            return hash ^ (hash >> 29);
        };
        quint64 hash = mix(quint64(group) << 32 | quint64(name.size()), 0);
        const char16_t *units = name.utf16();
        const qsizetype size = name.size();
        if (size >= 4) {
            for (qsizetype i = 0; i + 4 < size; i += 4)
                hash = mix(hash, wordAt(units, i));
            hash = mix(hash, wordAt(units, size - 4));
        } else if (size > 0) {
            quint64 word = 0;
            for (qsizetype i = 0; i < size; ++i)
                word |= quint64(units[i]) << (16 * i);
            hash = mix(hash, word);
        }
        return quint32(hash ^ (hash >> 32));
    }

    // Compared a word at a time in line: names are short, and a call to
    // memcmp costs more than comparing them.
    static bool sameUnits(QStringView a, QStringView b)
    {
        const qsizetype size = a.size();
        if (size != b.size())
            return false;
        const char16_t *x = a.utf16();
        const char16_t *y = b.utf16();
        if (size < 4)
            return std::equal(x, x + size, y);
        for (qsizetype i = 0; i + 4 < size; i += 4) {
            if (wordAt(x, i) != wordAt(y, i))
                return false;
        }
        return wordAt(x, size - 4) == wordAt(y, size - 4);
    }

    // A power of two at least twice `count`, so that a search soon meets an empty slot.
    static qsizetype slotsFor(qsizetype count)
    {
        qsizetype slotCount = 16;
        while (slotCount < 2 * count)
            slotCount *= 2;
        return slotCount;
    }

    // Where `name` in `group` is, or the empty slot where it would go.
    qsizetype slotOf(QStringView name, quint32 group, quint32 hash) const
    {
        const qsizetype mask = qsizetype(m_slots.size()) - 1;
        for (qsizetype slot = qsizetype(hash) & mask;; slot = (slot + 1) & mask) {
            const quint32 index = m_slots[size_t(slot)];
            if (!index)
                return slot;
            const Entry &entry = m_entries[index - 1];
            if (entry.hash == hash && entry.group == group && sameUnits(entry.name, name))
                return slot;
        }
    }

    void rehash(qsizetype slotCount)
    {
        m_slots.assign(size_t(slotCount), 0);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry &entry = m_entries[i];
            m_slots[size_t(slotOf(entry.name, entry.group, entry.hash))] = quint32(i + 1);
        }
    }

    std::vector<Entry> m_entries;   // in the order put in
    std::vector<quint32> m_slots;   // 1 + an index into m_entries, 0 where empty
};
