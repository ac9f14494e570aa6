#include "crash_moments.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr int kEndedAtMoment = 0xDEAD;

// Read once, before any thread counts.
long EndAt() {
    static const long endAt = [] {
        char text[32];
        const DWORD length = ::GetEnvironmentVariableA("KESTREL_SETUP_END_AT", text, sizeof text);
        return length > 0 && length < sizeof text ? std::atol(text) : -1L;
    }();
    return endAt;
}

volatile LONG g_moments = 0;

} // namespace

void PassMoment() {
    const long endAt = EndAt();
    const LONG now = ::InterlockedIncrement(&g_moments);
    if (endAt > 0 && now == endAt)
        ::TerminateProcess(::GetCurrentProcess(), kEndedAtMoment);
}

long MomentsPassed() {
    return g_moments;
}

bool MomentsAreWatched() {
    return EndAt() >= 0;
}
