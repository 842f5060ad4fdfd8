#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// Records keyed by id, kept in ascending id in one array: lookups by binary search, iteration
// in the order a save writes, and scans over thousands of records that stay in cache. Adding
// or removing a record may move the others: look records up again after an insertion.
template <typename T> class CIdMap {
public:
    using value_type = std::pair<int32_t, T>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    iterator begin() { return m_items.begin(); }
    iterator end() { return m_items.end(); }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }
    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    void clear() { m_items.clear(); }
    void Reserve(size_t count) { m_items.reserve(count); }

    T* Find(int32_t id) {
        auto it = LowerBound(id);
        return it != m_items.end() && it->first == id ? &it->second : nullptr;
    }
    const T* Find(int32_t id) const { return const_cast<CIdMap*>(this)->Find(id); }

    // Replaces the record of the same id or adds it in its place.
    T& InsertOrAssign(int32_t id, T value) {
        // Ids usually arrive in ascending order (files, new players): append without a search.
        if (m_items.empty() || m_items.back().first < id) {
            m_items.emplace_back(id, std::move(value));
            return m_items.back().second;
        }
        auto it = LowerBound(id);
        if (it != m_items.end() && it->first == id) {
            it->second = std::move(value);
            return it->second;
        }
        return m_items.emplace(it, id, std::move(value))->second;
    }

    bool Erase(int32_t id) {
        auto it = LowerBound(id);
        if (it == m_items.end() || it->first != id)
            return false;
        m_items.erase(it);
        return true;
    }

    // Removes every record whose id the predicate accepts, in one pass.
    template <typename Predicate> void EraseIf(Predicate doomed) {
        std::erase_if(m_items, [&](const value_type& item) { return doomed(item.first); });
    }

    bool operator==(const CIdMap&) const = default;

private:
    iterator LowerBound(int32_t id) {
        return std::lower_bound(
            m_items.begin(), m_items.end(), id,
            [](const value_type& item, int32_t key) { return item.first < key; });
    }

    std::vector<value_type> m_items;
};
