#include "machine_info.h"

#include "reg_key_holder.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace bench {

namespace {

std::string Trimmed(std::string text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::string RegistryCpuName() {
    CRegKeyHolder key;
    if (key.Open(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                 KEY_READ) != ERROR_SUCCESS)
        return "";
    std::vector<char> value(256);
    DWORD size = static_cast<DWORD>(value.size() - 1), type = 0;
    if (::RegQueryValueExA(key.m_hKey, "ProcessorNameString", nullptr, &type,
                           reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "";
    return Trimmed(std::string(value.data()));
}

// /proc/cpuinfo read as a file of the Z: drive, which Wine maps to the root.
void ReadProcCpuInfo(MachineInfo& info) {
    std::ifstream in("Z:\\proc\\cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        const std::string key = Trimmed(line.substr(0, colon));
        if (key == "processor")
            ++info.procProcessors;
        else if (key == "model name" && info.cpuFromProc.empty() && colon != std::string::npos)
            info.cpuFromProc = Trimmed(line.substr(colon + 1));
    }
}

// Wine's own exports from ntdll: its version and the host it runs on.
void ReadWine(MachineInfo& info) {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    using Version = const char*(CDECL*)();
    using HostVersion = void(CDECL*)(const char**, const char**);
    const auto version = reinterpret_cast<Version>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "wine_get_version")));
    const auto host = reinterpret_cast<HostVersion>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "wine_get_host_version")));
    if (version)
        info.wineVersion = version();
    if (host) {
        const char *system = nullptr, *release = nullptr;
        host(&system, &release);
        info.host = std::string(system ? system : "?") + " " + (release ? release : "?");
    }
}

std::string Now() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute);
    return text;
}

} // namespace

MachineInfo ReadMachineInfo() {
    MachineInfo info;
    info.cpuFromRegistry = RegistryCpuName();
    ReadProcCpuInfo(info);
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    info.processors = system.dwNumberOfProcessors;
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    if (::GlobalMemoryStatusEx(&memory))
        info.memoryBytes = memory.ullTotalPhys;
    ReadWine(info);
    // Wine hands the Linux environment on: the scripts mark the emulator's namespace.
    info.emulated = ::GetEnvironmentVariableA("IA32_EMULATED", nullptr, 0) != 0;
    info.startedAt = Now();
    return info;
}

} // namespace bench
