// Array and map classes in the style the module is written against, over the
// standard containers.  Out-of-range reads return a default value instead of
// failing: engine data never makes an index fault fatal.
#pragma once

#include <map>
#include <vector>

#include "host/cstring.h"

template <typename T>
class CArray {
  public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const T& item) {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    T GetAt(int index) const { return InRange(index) ? m_items[static_cast<size_t>(index)] : T(); }
    void SetAt(int index, const T& item) {
        if (InRange(index)) m_items[static_cast<size_t>(index)] = item;
    }
    void SetSize(int size) { m_items.resize(size > 0 ? static_cast<size_t>(size) : 0); }
    void InsertAt(int index, const T& item) {
        if (index < 0) index = 0;
        if (index > GetSize()) index = GetSize();
        m_items.insert(m_items.begin() + index, item);
    }
    void RemoveAt(int index, int count = 1) {
        if (!InRange(index) || count <= 0) return;
        // count may be huge ("to the end"): compare without forming index + count.
        const int end = count > GetSize() - index ? GetSize() : index + count;
        m_items.erase(m_items.begin() + index, m_items.begin() + end);
    }
    void RemoveAll() { m_items.clear(); }
    // Unchecked access, as in the framework: the caller owns the bounds.
    T& operator[](int index) { return m_items[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return m_items[static_cast<size_t>(index)]; }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

  private:
    bool InRange(int index) const { return index >= 0 && index < GetSize(); }
    std::vector<T> m_items;
};

class CStringArray : public CArray<CString> {};

// String-keyed map, iterated in the order of the keys' UTF-16 code units.
template <typename T>
class CMapStringTo {
  public:
    void SetAt(const CString& key, const T& value) { m_map[key] = value; }
    bool Lookup(const CString& key, T& value) const {
        const auto it = m_map.find(key);
        if (it == m_map.end()) return false;
        value = it->second;
        return true;
    }
    // The value stored under the key, changed in place; null when none.
    T* PLookup(const CString& key) {
        const auto it = m_map.find(key);
        return it == m_map.end() ? nullptr : &it->second;
    }
    const T* PLookup(const CString& key) const {
        const auto it = m_map.find(key);
        return it == m_map.end() ? nullptr : &it->second;
    }
    bool RemoveKey(const CString& key) { return m_map.erase(key) > 0; }
    void RemoveAll() { m_map.clear(); }
    int GetCount() const { return static_cast<int>(m_map.size()); }
    bool IsEmpty() const { return m_map.empty(); }
    T& operator[](const CString& key) { return m_map[key]; }

    auto begin() const { return m_map.begin(); }
    auto end() const { return m_map.end(); }

  private:
    std::map<CString, T> m_map;
};

using CMapStringToString = CMapStringTo<CString>;
