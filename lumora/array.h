// An integer-keyed table, compiled into each user from this header.
#ifndef LUMORA_ARRAY_H
#define LUMORA_ARRAY_H

#include <map>

namespace lumora {

template <class T> class Array {
public:
    // Adds value under key; an existing entry under the same key is replaced.
    void Add(const T &value, long key) { entries[key] = value; }

    // The entry under key, or a value-initialised T (null for pointers) when there is none.
    T GetEntry(long key) const
    {
        auto found = entries.find(key);
        return found == entries.end() ? T() : found->second;
    }

    bool Remove(long key) { return entries.erase(key) != 0; }
    void RemoveAll() { entries.clear(); }
    int Length() const { return static_cast<int>(entries.size()); }

private:
    std::map<long, T> entries;
};

} // namespace lumora

#endif
