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
    int GetSize() const { return static_cast<int>(v_.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return v_.empty(); }
    int Add(const T& item) {
        v_.push_back(item);
        return GetSize() - 1;
    }
    T GetAt(int index) const { return InRange(index) ? v_[static_cast<size_t>(index)] : T(); }
    void SetAt(int index, const T& item) {
        if (InRange(index)) v_[static_cast<size_t>(index)] = item;
    }
    void SetSize(int size) { v_.resize(size > 0 ? static_cast<size_t>(size) : 0); }
    void InsertAt(int index, const T& item) {
        if (index < 0) index = 0;
        if (index > GetSize()) index = GetSize();
        v_.insert(v_.begin() + index, item);
    }
    void RemoveAt(int index, int count = 1) {
        if (!InRange(index) || count <= 0) return;
        // count may be huge ("to the end"): compare without forming index + count.
        const int end = count > GetSize() - index ? GetSize() : index + count;
        v_.erase(v_.begin() + index, v_.begin() + end);
    }
    void RemoveAll() { v_.clear(); }
    // Unchecked access, as in the framework: the caller owns the bounds.
    T& operator[](int index) { return v_[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return v_[static_cast<size_t>(index)]; }

    auto begin() { return v_.begin(); }
    auto end() { return v_.end(); }
    auto begin() const { return v_.begin(); }
    auto end() const { return v_.end(); }

  private:
    bool InRange(int index) const { return index >= 0 && index < GetSize(); }
    std::vector<T> v_;
};

class CStringArray : public CArray<CString> {};

// String-keyed map, iterated in the order of the keys' UTF-16 code units.
template <typename T>
class CMapStringTo {
  public:
    void SetAt(const CString& key, const T& value) { m_[key] = value; }
    bool Lookup(const CString& key, T& value) const {
        const auto it = m_.find(key);
        if (it == m_.end()) return false;
        value = it->second;
        return true;
    }
    // The value stored under the key, changed in place; null when none.
    T* PLookup(const CString& key) {
        const auto it = m_.find(key);
        return it == m_.end() ? nullptr : &it->second;
    }
    const T* PLookup(const CString& key) const {
        const auto it = m_.find(key);
        return it == m_.end() ? nullptr : &it->second;
    }
    bool RemoveKey(const CString& key) { return m_.erase(key) > 0; }
    void RemoveAll() { m_.clear(); }
    int GetCount() const { return static_cast<int>(m_.size()); }
    bool IsEmpty() const { return m_.empty(); }
    T& operator[](const CString& key) { return m_[key]; }

    auto begin() const { return m_.begin(); }
    auto end() const { return m_.end(); }

  private:
    std::map<CString, T> m_;
};

using CMapStringToString = CMapStringTo<CString>;
