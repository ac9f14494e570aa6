// A lock with a condition to wait for, on the slim reader/writer lock and the
// condition variable of Windows Vista and later. Waking a waiting thread
// through them costs a small fraction of what an event or semaphore costs (no
// round trip to Wine's server at all), and the copy run's chunks change hands
// hundreds of times a second. They are looked up at run time, so that the
// program still starts on an older system, which does without them.
#pragma once

#include <windows.h>

class SlimMonitor {
public:
    // Whether this system has them; without, no other member may be used.
    static bool Available();

    // Holds the monitor for its scope.
    class Hold {
    public:
        explicit Hold(SlimMonitor& monitor);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        SlimMonitor& monitor_;
    };

    // With the monitor held: sleeps until `ready()`, letting go of the
    // monitor while asleep.
    template <class Ready> void Wait(Ready ready) {
        while (!ready())
            Block();
    }
    // With the monitor held: sleeps until `ready()` or for about `ms`
    // milliseconds, whichever comes first; whether it is ready.
    template <class Ready> bool WaitFor(DWORD ms, Ready ready) {
        if (!ready())
            Block(ms);
        return ready();
    }
    // Wakes a thread that waits; with only two threads, the other one.
    void Wake();
    // Wakes every thread that waits, for conditions that several threads wait on.
    void WakeAll();

private:
    void Block(DWORD ms = INFINITE);
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
};
