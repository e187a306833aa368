#include "LookMaker.h"

#include "core/Dispatch.h"
#include "engine/Cancellation.h"

namespace pimavo {

LookMaker::LookMaker() : generation_(std::make_shared<int>(0)) {}

LookMaker::~LookMaker() {
    ++*generation_; // a look handed back after this finds no one to take it
    if (cancel_) cancel_->cancel();
    if (queue_) queue_->waitUntilIdle();
}

void LookMaker::cancel() {
    if (cancel_) cancel_->cancel();
}

void LookMaker::start(int preset, std::function<Look()> make, std::function<void()> ready) {
    const int generation = ++*generation_;
    cancel();
    auto cancel = std::make_shared<CancelFlag>();
    cancel_ = cancel;
    auto made = std::make_shared<std::promise<Look>>();
    pending_ = Pending{preset, made->get_future().share()};
    if (!queue_) queue_ = std::make_unique<Dispatch::SerialQueue>("looks");
    queue_->async([this, made, make = std::move(make), ready = std::move(ready), cancel, generation,
                   current = std::weak_ptr<int>(generation_)] {
        Look look;
        if (!cancel->isCancelled()) {
            CancellationScope scope(cancel.get());
            look = make();
            if (cancel->isCancelled())
                look = {};
            else
                ++made_;
        }
        made->set_value(std::move(look));
        if (cancel->isCancelled()) return;
        Dispatch::mainQueue([current, generation, ready] {
            const auto now = current.lock();
            if (now && *now == generation) ready();
        });
    });
}

std::optional<std::pair<int, LookMaker::Look>> LookMaker::take() {
    if (!pending_) return std::nullopt;
    const Pending pending = std::move(*pending_);
    pending_.reset();
    return std::make_pair(pending.preset, pending.look.get());
}

} // namespace pimavo
