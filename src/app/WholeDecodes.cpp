#include "WholeDecodes.h"

#include "core/Dispatch.h"
#include "core/FailureTranslation.h"
#include "imageio/ImageDecoder.h"

#include <chrono>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pimavo {

WholeDecodes::~WholeDecodes() {
    *pendingId_ = 0;
    for (Decoder& d : decoders_) d.thread.join();
}

void WholeDecodes::start(const std::string& file, BitmapRef preview, int width, int height, int bits,
                         std::function<void()> ended) {
    std::erase_if(decoders_, [](Decoder& d) {
        if (!d.done->load()) return false;
        d.thread.join();
        return true;
    });
    auto made = std::make_shared<std::promise<BitmapRef>>();
    auto error = std::make_shared<std::string>();
    auto done = std::make_shared<std::atomic<bool>>(false);
    const int id = ++started_;
    *pendingId_ = id;
    gate_ = std::make_shared<std::promise<void>>();
    std::shared_future<void> go = gate_->get_future().share();
    std::weak_ptr<int> pendingId = pendingId_;
    decoders_.push_back({std::thread([made, error, done, file, id, go, pendingId, ended = std::move(ended)] {
                             go.wait_for(std::chrono::milliseconds(500));
                             setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
                             DecodeResult r = decodeImageFile(file);
                             *error = r.error;
                             made->set_value(r.image ? r.image->bitmap : nullptr);
                             done->store(true);
                             Dispatch::mainQueue([pendingId, id, ended] {
                                 const auto now = pendingId.lock();
                                 if (now && *now == id) ended();
                             });
                         }),
                         done});
    pending_ =
        Pending{CanvasPhoto(std::move(preview), made->get_future().share(), width, height, bits), error, id};
}

std::optional<WholeDecodes::Ended> WholeDecodes::take() {
    if (!pending_) return std::nullopt;
    const Pending pending = std::move(*pending_);
    pending_.reset();
    *pendingId_ = 0;
    pending.photo.photo.wait();
    return Ended{pending.photo, translatedFailure(*pending.error)};
}

void WholeDecodes::forget() {
    pending_.reset();
    *pendingId_ = 0;
}

void WholeDecodes::firstFramePainted() {
    if (!gate_) return;
    Dispatch::after(0, [gate = std::exchange(gate_, nullptr)] { gate->set_value(); });
}

} // namespace pimavo
