// What ThreadSanitizer must be told about the tile pool: libtbb is built without it, so the hand-over
// of a parallel loop (its tasks see what was written before the loop; the caller sees what the tasks
// wrote once the loop returns) happens where it cannot see, and every loop would read as a race.
// A TaskHandOff says so at each end; outside ThreadSanitizer builds it is nothing.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define PIMAVO_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PIMAVO_TSAN 1
#endif
#endif

#ifdef PIMAVO_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace pimavo {

// Made before the loop, one Task per task body, joined() after the loop.
class TaskHandOff {
public:
#ifdef PIMAVO_TSAN
    TaskHandOff() {
        __tsan_release(this);
    }
    void joined() {
        __tsan_acquire(this);
    }
    class Task {
    public:
        explicit Task(TaskHandOff& h) : h_(h) { __tsan_acquire(&h_); }
        ~Task() { __tsan_release(&h_); }
        Task(const Task&) = delete;
        Task& operator=(const Task&) = delete;

    private:
        TaskHandOff& h_;
    };
#else
    void joined() {}
    class Task {
    public:
        explicit Task(TaskHandOff&) {}
    };
#endif
};

} // namespace pimavo
