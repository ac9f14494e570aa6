// What the report says about the machine it ran on: the processor as Windows
// (Wine's registry) and as Linux (/proc/cpuinfo through Wine's Z: drive) name
// it, the cores, the memory, the Wine and kernel versions, and whether this
// program's code runs through an emulator.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct MachineInfo {
    std::string cpuFromRegistry; // ProcessorNameString; empty when absent
    std::string cpuFromProc;     // the first "model name"; empty when unreadable
    unsigned processors = 0;     // as Windows counts them
    unsigned procProcessors = 0; // "processor" lines of /proc/cpuinfo
    uint64_t memoryBytes = 0;
    std::string wineVersion; // empty: not under Wine
    std::string host;        // the host's system and kernel release, under Wine
    bool emulated = false;   // 32-bit code run by qemu (tests/wine/ia32-ns.sh)
    std::string startedAt;   // local time of the run
};

MachineInfo ReadMachineInfo();

} // namespace bench
