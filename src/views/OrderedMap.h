#pragma once
// A dictionary that iterates in insertion order. The view tables use it so that views are
// attached, and therefore stacked, in the same order on every run.
#include <QHash>
#include <QList>
#include <utility>
#include <vector>

template <typename K, typename V>
class OrderedMap {
public:
    using Entry = std::pair<K, V>;
    using iterator = typename std::vector<Entry>::iterator;
    using const_iterator = typename std::vector<Entry>::const_iterator;

    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    bool contains(const K& key) const { return m_index.contains(key); }

    // The value under key, or fallback when there is none.
    V value(const K& key, const V& fallback = V()) const
    {
        const auto it = m_index.constFind(key);
        return it == m_index.cend() ? fallback : m_entries[size_t(*it)].second;
    }
    // Pointer to the stored value, nullptr when absent.
    V* find(const K& key)
    {
        const auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[size_t(*it)].second;
    }
    const V* find(const K& key) const
    {
        const auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[size_t(*it)].second;
    }
    // Inserts a default value at the end when key is new.
    V& operator[](const K& key)
    {
        if (V* v = find(key))
            return *v;
        m_index.insert(key, qsizetype(m_entries.size()));
        m_entries.emplace_back(key, V());
        return m_entries.back().second;
    }
    // Replaces the value of an existing key in place; a new key goes to the end.
    void insert(const K& key, V value) { (*this)[key] = std::move(value); }
    // Removes key; later entries keep their relative order.
    bool remove(const K& key)
    {
        const auto it = m_index.constFind(key);
        if (it == m_index.cend())
            return false;
        const qsizetype at = *it;
        m_entries.erase(m_entries.begin() + at);
        m_index.erase(it);
        for (size_t i = size_t(at); i < m_entries.size(); ++i)
            m_index[m_entries[i].first] = qsizetype(i);
        return true;
    }
    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }
    QList<K> keys() const
    {
        QList<K> out;
        out.reserve(size());
        for (const Entry& e : m_entries)
            out << e.first;
        return out;
    }

    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

    bool operator==(const OrderedMap& o) const { return m_entries == o.m_entries; }

private:
    std::vector<Entry> m_entries;
    QHash<K, qsizetype> m_index;
};
