// A size-bounded, least-recently-used cache of rendered tiles, shared by every render.
//
// Nodes are immutable, so a tile rendered for a node stays valid for the node's whole life; keys
// are node identities plus the tile's position. Entries are shared pointers: evicting a tile never
// disturbs a render that still reads it. When several threads ask for the same missing entry, one
// computes it and the others wait for that result instead of computing it again.
#pragma once

#include "Tile.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <unordered_map>

namespace pimavo {

class TileCache {
public:
    struct Key {
        uint64_t node;
        int x, y; // tile position; (INT32_MIN, INT32_MIN) for a node's whole block
        friend bool operator==(const Key&, const Key&) = default;
    };

    static TileCache& shared();

    explicit TileCache(std::size_t capacityBytes);

    TileRef find(const Key& key);
    // The cached tile, or the one `compute` makes (then cached).
    TileRef getOrCompute(const Key& key, const std::function<TileRef()>& compute);
    void purgeNode(uint64_t node);
    void clear();

    void setCapacity(std::size_t bytes);
    std::size_t capacity() const;
    std::size_t bytesUsed() const;
    std::size_t entryCount() const;

private:
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept {
            uint64_t h = k.node * 0x9E3779B97F4A7C15ull;
            h ^=
                (uint64_t(uint32_t(k.x)) << 32 | uint32_t(k.y)) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
            return std::size_t(h);
        }
    };
    struct Entry {
        TileRef tile;
        std::list<Key>::iterator lru;
        bool pending = false;
    };

    void insertLocked(const Key& key, TileRef tile);
    void evictLocked();

    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
    std::list<Key> lru_; // most recent first
    std::size_t capacity_;
    std::size_t used_ = 0;
};

} // namespace pimavo
