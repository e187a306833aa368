#include "TileCache.h"

#include <cstdlib>

namespace pimavo {

namespace {
std::size_t defaultCapacity() {
    // Room for a blurred 24-megapixel photo and the working tiles around it.
    std::size_t mb = 1536;
    if (const char* env = std::getenv("PIMAVO_TILE_CACHE_MB")) {
        const long v = std::strtol(env, nullptr, 10);
        if (v > 0) mb = std::size_t(v);
    }
    return mb << 20;
}
} // namespace

TileCache& TileCache::shared() {
    // Never destroyed: nodes that outlive static destruction (in other statics) still purge safely.
    static TileCache* cache = new TileCache(defaultCapacity());
    return *cache;
}

TileCache::TileCache(std::size_t capacityBytes) : capacity_(capacityBytes) {}

TileRef TileCache::find(const Key& key) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end() || it->second.pending) return nullptr;
    lru_.splice(lru_.begin(), lru_, it->second.lru);
    return it->second.tile;
}

TileRef TileCache::getOrCompute(const Key& key, const std::function<TileRef()>& compute) {
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            auto it = entries_.find(key);
            if (it == entries_.end()) {
                Entry e;
                e.pending = true;
                lru_.push_front(key);
                e.lru = lru_.begin();
                entries_.emplace(key, std::move(e));
                break;
            }
            if (!it->second.pending) {
                lru_.splice(lru_.begin(), lru_, it->second.lru);
                return it->second.tile;
            }
            ready_.wait(lock);
        }
    }
    TileRef tile;
    try {
        tile = compute();
    } catch (...) {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(key);
        if (it != entries_.end()) {
            lru_.erase(it->second.lru);
            entries_.erase(it);
        }
        ready_.notify_all();
        throw;
    }
    {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(key);
        if (it != entries_.end()) {
            it->second.pending = false;
            it->second.tile = tile;
            used_ += tile ? tile->byteSize() : 0;
            evictLocked();
        }
    }
    ready_.notify_all();
    return tile;
}

void TileCache::evictLocked() {
    auto it = lru_.end();
    while (used_ > capacity_ && it != lru_.begin()) {
        --it;
        auto e = entries_.find(*it);
        if (e->second.pending) continue;
        used_ -= e->second.tile ? e->second.tile->byteSize() : 0;
        auto victim = it++;
        entries_.erase(e);
        lru_.erase(victim);
    }
}

void TileCache::purgeNode(uint64_t node) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->first.node == node && !it->second.pending) {
            used_ -= it->second.tile ? it->second.tile->byteSize() : 0;
            lru_.erase(it->second.lru);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void TileCache::clear() {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->second.pending) {
            used_ -= it->second.tile ? it->second.tile->byteSize() : 0;
            lru_.erase(it->second.lru);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void TileCache::setCapacity(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    capacity_ = bytes;
    evictLocked();
}

std::size_t TileCache::capacity() const {
    std::lock_guard lock(mutex_);
    return capacity_;
}

std::size_t TileCache::bytesUsed() const {
    std::lock_guard lock(mutex_);
    return used_;
}

std::size_t TileCache::entryCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

} // namespace pimavo
