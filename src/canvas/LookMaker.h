// Full-resolution looks made away from the window, one at a time: asking for another stops the one
// under way at its next tile, and the new one starts once that one has let go of its memory.
#pragma once

#include "engine/Image.h"

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <utility>

namespace pimavo {

class CancelFlag;
namespace Dispatch {
class SerialQueue;
}

class LookMaker {
public:
    struct Look {
        Image origin, normal; // full resolution, and the exact working-size copy of it
    };
    LookMaker();
    ~LookMaker(); // stops the look under way and waits for it

    // Makes a look with `make`, away from the window; `ready` runs on the main thread once it is
    // made, unless another was asked for meanwhile.
    void start(int preset, std::function<Look()> make, std::function<void()> ready);
    // The look under way is no longer wanted: it stops, and leaves the cores to other work.
    void cancel();
    bool isPending() const { return pending_.has_value(); }
    // Waits for the look asked for last and hands it over with its preset; nothing when none is
    // pending. A look stopped, or one that could not be made, has null images.
    std::optional<std::pair<int, Look>> take();
    // Counts the looks asked for.
    int generation() const { return *generation_; }
    // The number of looks made to the end (tests and diagnostics).
    int made() const { return made_.load(); }

private:
    struct Pending {
        int preset = 0;
        std::shared_future<Look> look;
    };
    std::optional<Pending> pending_;
    std::shared_ptr<int> generation_; // read by the hand-backs on the main thread
    std::unique_ptr<Dispatch::SerialQueue> queue_;
    std::shared_ptr<CancelFlag> cancel_;
    std::atomic<int> made_{0};
};

} // namespace pimavo
