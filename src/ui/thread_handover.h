#pragma once
// Tells ThreadSanitizer about an ordering that Qt guarantees but it cannot see: Debian's Qt
// is not instrumented, and QThread::wait() is built on Qt's own futex-based mutex. A
// release on one thread happens before an acquire of the same address made after it on
// another. Outside the ThreadSanitizer build both are empty.

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace wf::ui {

#if defined(__SANITIZE_THREAD__)
inline void releaseTo(const void* token) {
    __tsan_release(const_cast<void*>(token));
}
inline void acquireFrom(const void* token) {
    __tsan_acquire(const_cast<void*>(token));
}
#else
inline void releaseTo(const void*) {}
inline void acquireFrom(const void*) {}
#endif

} // namespace wf::ui
