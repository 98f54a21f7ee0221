// Linked into every program of the ThreadSanitizer build (make test-tsan) only.
//
// Qt 6.4's QProcess starts a child with clone(CLONE_VM | CLONE_VFORK): the child runs in our
// memory until it execs. TSan's clone handler treats every clone as a fork and, in the child,
// resets its bookkeeping to that of a fresh one-thread process; with CLONE_VM that
// bookkeeping is the parent's, so after the first child every lock and thread start seen
// before is forgotten and correctly locked code is reported as racing. Without CLONE_VM the
// child gets a copy, as after fork; CLONE_VFORK still holds the parent until the exec, and
// Qt learns of a failed exec through its pipe either way. Threads are not affected: glibc
// starts them without going through this symbol.

#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" int __interceptor_clone(int (*fn)(void*), void* stack, int flags, void* arg,
                                   pid_t* parentTid, void* tls, pid_t* childTid);

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...) {
    va_list rest;
    va_start(rest, arg);
    pid_t* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    pid_t* childTid = va_arg(rest, pid_t*);
    va_end(rest);
    if ((flags & CLONE_VM) && !(flags & CLONE_THREAD)) flags &= ~CLONE_VM;
    return __interceptor_clone(fn, stack, flags, arg, parentTid, tls, childTid);
}
