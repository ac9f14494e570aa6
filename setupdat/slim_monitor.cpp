#include "slim_monitor.h"

namespace {

struct SlimApi {
    VOID(WINAPI* acquire)(PSRWLOCK) = nullptr;
    VOID(WINAPI* release)(PSRWLOCK) = nullptr;
    BOOL(WINAPI* sleep)(PCONDITION_VARIABLE, PSRWLOCK, DWORD, ULONG) = nullptr;
    VOID(WINAPI* wake)(PCONDITION_VARIABLE) = nullptr;
    VOID(WINAPI* wakeAll)(PCONDITION_VARIABLE) = nullptr;

    SlimApi() {
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        if (!kernel)
            return;
        Find(kernel, "AcquireSRWLockExclusive", acquire);
        Find(kernel, "ReleaseSRWLockExclusive", release);
        Find(kernel, "SleepConditionVariableSRW", sleep);
        Find(kernel, "WakeConditionVariable", wake);
        Find(kernel, "WakeAllConditionVariable", wakeAll);
    }
    bool Complete() const { return acquire && release && sleep && wake && wakeAll; }

    template <class Function> static void Find(HMODULE module, const char* name, Function& to) {
        to = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    }
};

const SlimApi& Api() {
    static const SlimApi api;
    return api;
}

} // namespace

bool SlimMonitor::Available() {
    return Api().Complete();
}

SlimMonitor::Hold::Hold(SlimMonitor& monitor) : monitor_(monitor) {
    Api().acquire(&monitor_.lock_);
}

SlimMonitor::Hold::~Hold() {
    Api().release(&monitor_.lock_);
}

void SlimMonitor::Wake() {
    Api().wake(&changed_);
}

void SlimMonitor::WakeAll() {
    Api().wakeAll(&changed_);
}

void SlimMonitor::Block(DWORD ms) {
    Api().sleep(&changed_, &lock_, ms, 0);
}
