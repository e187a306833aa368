// The last few images a chain made, each kept with the image and the settings it was made from, so
// that a redraw with the same input and settings answers the kept image instead of making it again.
// The oldest goes first. Images are compared by identity (copy-on-write values), which is cheap.
#pragma once

#include "engine/Image.h"

#include <array>
#include <cstddef>
#include <optional>

namespace pimavo {

struct NoKey {
    bool operator==(const NoKey&) const = default;
};

template <typename Key, std::size_t N> class RecentImages {
public:
    // The image made from `input` with `key`, when it is kept.
    std::optional<Image> find(const Image& input, const Key& key = {}) const {
        for (const Entry& e : entries_)
            if (e.input && e.input == input && e.key == key) return e.output;
        return std::nullopt;
    }
    // The input a kept image was made from, when it is one.
    std::optional<Image> inputOf(const Image& output) const {
        for (const Entry& e : entries_)
            if (e.output && e.output == output) return e.input;
        return std::nullopt;
    }
    const Image& keep(const Image& input, const Key& key, const Image& output) {
        Entry& slot = entries_[next_];
        slot = {input, key, output};
        next_ = (next_ + 1) % N;
        return slot.output;
    }

private:
    struct Entry {
        Image input;
        Key key{};
        Image output;
    };
    std::array<Entry, N> entries_{};
    std::size_t next_ = 0;
};

} // namespace pimavo
