#pragma once
// Lock annotations for clang's -Wthread-safety, and the annotated mutex that
// every process-wide group of state uses. With another compiler the
// annotations are empty and Mutex is a plain std::mutex.
//
// Beside every Mutex, GUARDED_BY on each field says what it guards; the
// build with clang checks that no guarded field is touched without its lock.

#include <mutex>

#if defined(__clang__)
#define OKTA_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define OKTA_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) OKTA_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY OKTA_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) OKTA_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) OKTA_THREAD_ANNOTATION(pt_guarded_by(x))
#define ACQUIRE(...) OKTA_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) OKTA_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define REQUIRES(...) OKTA_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) OKTA_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRED_BEFORE(...) OKTA_THREAD_ANNOTATION(acquired_before(__VA_ARGS__))
#define NO_THREAD_SAFETY_ANALYSIS OKTA_THREAD_ANNOTATION(no_thread_safety_analysis)

// A plain, non-recursive mutex that the analysis knows.
class CAPABILITY("mutex") Mutex {
  public:
    void lock() ACQUIRE() { m_.lock(); }
    void unlock() RELEASE() { m_.unlock(); }

  private:
    std::mutex m_;
};

// Holds a Mutex for its scope.
class SCOPED_CAPABILITY MutexLock {
  public:
    explicit MutexLock(Mutex& m) ACQUIRE(m) : m_(m) { m_.lock(); }
    ~MutexLock() RELEASE() { m_.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

  private:
    Mutex& m_;
};
