// Stopping renders nobody waits for any more.
//
// Work that may be abandoned (a look replaced by another before it is done) renders under a
// CancellationScope holding its CancelFlag. Once the flag is set, renders on that thread — and the
// tasks they spread over the pool — stop at the next tile, row of a whole-image operation or stage:
// Renderer::render answers false and createBitmap nothing; a PaintBuffer being written is left
// half done, for the abandoned work that owns it to drop.
// Renders outside any scope are never stopped.
#pragma once

#include <atomic>

namespace pimavo {

class CancelFlag {
public:
    void cancel() { set_.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return set_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> set_{false};
};

// Renders made by this thread while the scope lives obey `flag` (nullptr: none). Scopes nest; the
// flag must outlive the scope.
class CancellationScope {
public:
    explicit CancellationScope(const CancelFlag* flag);
    ~CancellationScope();
    CancellationScope(const CancellationScope&) = delete;
    CancellationScope& operator=(const CancellationScope&) = delete;

private:
    const CancelFlag* previous_;
};

// The flag renders on this thread obey, or nullptr.
const CancelFlag* currentCancelFlag();

namespace eval {
// Thrown inside the evaluator to unwind a cancelled render; never leaves the engine.
struct RenderCancelled {};
// Throws RenderCancelled when `flag` is set.
inline void stopIfCancelled(const CancelFlag* flag) {
    if (flag && flag->isCancelled()) throw RenderCancelled{};
}
} // namespace eval

} // namespace pimavo
