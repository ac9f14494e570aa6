#include "run_lock.h"

#include <windows.h>

namespace {

// A kernel object's name may hold any character but a backslash.
std::string MutexName(const std::string& productName) {
    std::string name = "Local\\KestrelSetup:" + productName;
    for (size_t i = 6; i < name.size(); ++i)
        if (name[i] == '\\')
            name[i] = '/';
    return name;
}

} // namespace

bool ProductRunLock::Take(const std::string& productName, unsigned long waitMilliseconds) {
    mutex_.reset(::CreateMutexA(nullptr, FALSE, MutexName(productName).c_str()));
    if (!mutex_)
        return false;
    const DWORD waited = ::WaitForSingleObject(mutex_.get(), waitMilliseconds);
    // A run that was killed while it held the lock leaves it abandoned: the
    // lock is this run's now (and an interrupted run's leftovers its to mend).
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return held_;
}

ProductRunLock::~ProductRunLock() {
    if (held_)
        ::ReleaseMutex(mutex_.get());
}
