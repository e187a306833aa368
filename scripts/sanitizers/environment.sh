# Sourced by the scripts that run sanitized programs: how the sanitizers report, and what they leave
# out (each suppression file says why, entry by entry).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Any undefined behaviour ends the program, so that a test or a fuzz run fails on it.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$here/ubsan.supp"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:suppressions=$here/asan.supp"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
# Qt is not built with ThreadSanitizer, and its locks are futexes TSan cannot see: the copies and
# allocations Qt makes on its own worker threads (image conversions, the thread pool's own
# bookkeeping) read as races with the thread that handed them the work. Accesses made inside
# uninstrumented libraries are left out; every access our code makes, on whatever thread, is checked
# (a race on our data handed to Qt's thread pool is still reported).
export TSAN_OPTIONS="halt_on_error=0:second_deadlock_stack=1:ignore_noninstrumented_modules=1:suppressions=$here/tsan.supp"
# Reports name files and lines; the slow unwinder also gets through libraries built without frame
# pointers (a fault inside OpenImageIO shows who called it).
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_fatal=0"
# The leak checker of this compiler (clang 14) misreads the dynamic thread-local storage of a
# library opened at run time under Debian 12's glibc (a slot not yet given memory reads as a range
# starting near zero), and its scan of the threads crashes ("Tracer caught signal 11") once the
# photo-codec module has been loaded. Not following that storage avoids it; what only such storage
# points to could then read as leaked, which would show as a report to look into, not hide one.
export ASAN_OPTIONS="$ASAN_OPTIONS:intercept_tls_get_addr=0"
# Sanitized programs run several times slower (ThreadSanitizer most): the tests' waits for what they
# expect are stretched to match (tests/WaitScale.h), so that a slow run is not read as a failure.
export PIMAVO_TEST_WAIT_SCALE=10
