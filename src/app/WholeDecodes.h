// The whole decodes of photos the window shows first from a reduced decode. Each runs on a thread
// of its own at low priority, held back until the reduced photo is first on screen, which needs
// both cores for a moment (a window never painted waits half a second): the whole photo is wanted
// only when the user saves, zooms in or picks a look.
#pragma once

#include "canvas/CanvasPhoto.h"

#include <QString>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pimavo {

class WholeDecodes {
public:
    WholeDecodes() = default;
    WholeDecodes(const WholeDecodes&) = delete;
    WholeDecodes& operator=(const WholeDecodes&) = delete;
    ~WholeDecodes(); // waits for the decodes under way

    // Starts the whole decode of `file`, a photo of that size and depth shown meanwhile as
    // `preview`; it becomes the pending photo. `ended` runs on the main thread once the decode
    // ends, if the photo is still pending then.
    void start(const std::string& file, BitmapRef preview, int width, int height, int bits,
               std::function<void()> ended);
    // The photo on screen from a reduced decode while its whole decode runs; null when none is.
    const CanvasPhoto* pending() const { return pending_ ? &pending_->photo : nullptr; }
    // Waits for the pending photo's decode and hands it over, with why it failed when it did.
    struct Ended {
        CanvasPhoto photo;
        QString error;
    };
    std::optional<Ended> take();
    // The pending photo is no longer wanted (its decode ends unheard).
    void forget();
    // The reduced photo is on screen: a held decode may start, once this paint has gone through.
    bool isHeld() const { return gate_ != nullptr; }
    void firstFramePainted();

private:
    struct Pending {
        CanvasPhoto photo;
        std::shared_ptr<std::string> error; // the decode's, once it ended
        int id = 0;
    };
    std::optional<Pending> pending_;
    int started_ = 0;
    struct Decoder {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Decoder> decoders_; // joined when done, and at the end
    std::shared_ptr<std::promise<void>> gate_;
    // Read by the decodes' hand-backs on the main thread: the pending photo's id, 0 after the end.
    std::shared_ptr<int> pendingId_ = std::make_shared<int>(0);
};

} // namespace pimavo
