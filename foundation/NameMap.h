// Hash maps keyed by case-folded names: compound identifiers, phase labels
// and property names that clients spell in any letter case.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

#include "Names.h"

// 32-bit FNV-1 over UTF-16 code units (not bytes).
uint32_t HashName(const wchar_t *text);

// Map keys expose their text through one virtual operation. Stored keys
// always own their text; WSTRMapKeyPtr exists only for lookups.
class WSTRMapKey {
public:
    WSTRMapKey() = default;
    explicit WSTRMapKey(const wchar_t *text) : text_(text ? text : L"") {}
    // Copying a key copies its Text, so a stored key always owns its text.
    WSTRMapKey(const WSTRMapKey &other) : text_(other.Text()) {}
    WSTRMapKey &operator=(const WSTRMapKey &other)
    {
        if (this != &other) text_ = other.Text();
        return *this;
    }
    virtual ~WSTRMapKey() = default;
    virtual const wchar_t *Text() const { return text_.c_str(); }

protected:
    std::wstring text_;
};

// An owning key whose text is folded to lower case.
class WSTRMapKeyString : public WSTRMapKey {
public:
    explicit WSTRMapKeyString(const wchar_t *text) : WSTRMapKey(text) { LowerInPlace(text_); }
};

// A non-owning key over text the caller keeps alive (already folded).
class WSTRMapKeyPtr : public WSTRMapKey {
public:
    explicit WSTRMapKeyPtr(const wchar_t *text) : ptr_(text ? text : L"") {}
    const wchar_t *Text() const override { return ptr_; }

private:
    const wchar_t *ptr_;
};

struct WSTRMapKeyHash {
    size_t operator()(const WSTRMapKey &key) const { return HashName(key.Text()); }
};

struct WSTRMapKeyEqual {
    bool operator()(const WSTRMapKey &a, const WSTRMapKey &b) const;
};

template <class V>
class NameMap {
public:
    NameMap() : map_(8) { map_.max_load_factor(1.0f); }

    // The stored value for name (letter case ignored), or null.
    const V *Lookup(const wchar_t *name) const
    {
        FoldedName folded(name);
        auto it = map_.find(WSTRMapKeyPtr(folded.Text()));
        return it == map_.end() ? nullptr : &it->second;
    }
    V *Lookup(const wchar_t *name)
    {
        return const_cast<V *>(static_cast<const NameMap *>(this)->Lookup(name));
    }

    // Copies the stored value into value; false (value untouched) when absent.
    bool Find(const wchar_t *name, V &value) const
    {
        const V *found = Lookup(name);
        if (!found) return false;
        value = *found;
        return true;
    }

    bool Contains(const wchar_t *name) const { return Lookup(name) != nullptr; }

    // The stored value for name, inserted with a default value when absent.
    // Only an insertion allocates.
    V &Entry(const wchar_t *name)
    {
        if (V *found = Lookup(name)) return *found;
        WSTRMapKeyString key(name);
        return map_[key];
    }

    // Sets every stored value to value and keeps the names: for maps refilled
    // on every call, whose names then cost no allocation after the first.
    void Fill(const V &value)
    {
        for (auto &entry : map_) entry.second = value;
    }

    // Empties the map and keeps its bucket table, so refilling it allocates
    // only the entries.
    void Clear() { map_.clear(); }

    size_t Size() const { return map_.size(); }
    bool Empty() const { return map_.empty(); }

    template <class F>
    void ForEach(F &&f) const
    {
        for (const auto &entry : map_) f(entry.first.Text(), entry.second);
    }

private:
    using Map = std::unordered_map<WSTRMapKey, V, WSTRMapKeyHash, WSTRMapKeyEqual>;
    Map map_;
};
