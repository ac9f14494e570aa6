#include "native_command.h"

#include "bench_support.h"
#include "path_helpers.h"
#include "test_files.h"
#include "window_driver.h"

#include <windows.h>

#include <fstream>
#include <memory>

namespace bench {

namespace {

constexpr DWORD kPollMilliseconds = 100;
// The shell creates the log at once; without it by then, it never started.
constexpr int kStartSeconds = 30;

struct HeapFreer {
    void operator()(wchar_t* memory) const { ::HeapFree(::GetProcessHeap(), 0, memory); }
};

// Where Wine's drives show /bin/sh; Z:\ is the whole Unix tree in any prefix
// that has not been changed by hand.
std::string ShellPath() {
    using Convert = wchar_t*(CDECL*)(const char*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    const std::unique_ptr<wchar_t, HeapFreer> wide(convert ? convert("/bin/sh") : nullptr);
    if (!wide)
        return "Z:\\bin\\sh";
    char path[MAX_PATH * 4];
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, path, sizeof path, nullptr, nullptr);
    return length > 0 ? std::string(path) : "Z:\\bin\\sh";
}

// The status file appears only once it is whole: the shell writes it under
// another name, then renames it.
std::string ShellCommand(const std::string& name, const std::string& command) {
    return "sh -c \"(" + command + ") > " + name + ".log 2>&1; echo $? > " + name + ".tmp; mv " +
           name + ".tmp " + name + ".status\"";
}

int ReadStatus(const std::string& path) {
    std::ifstream in(path);
    int status = -1;
    in >> status;
    return status;
}

} // namespace

bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

NativeResult RunNative(const std::string& directory, const std::string& name,
                       const std::string& command, int timeoutSeconds) {
    NativeResult result;
    if (!RunningUnderWine()) {
        result.error = "Linux programs can be started only under Wine";
        return result;
    }
    const std::string status = AppendPath(directory, name + ".status");
    const std::string log = AppendPath(directory, name + ".log");
    ::DeleteFileA(status.c_str());
    ::DeleteFileA(log.c_str());
    windowdriver::Process shell; // holds no handle: the shell is no Windows process
    if (!shell.Start(ShellPath(), ShellCommand(name, command), directory, result.error))
        return result;
    const Stopwatch watch;
    while (!FileExists(status)) {
        const double waited = watch.Seconds();
        if ((waited > kStartSeconds && !FileExists(log)) || waited > timeoutSeconds) {
            result.error = FileExists(log)
                               ? "it did not end within " + std::to_string(timeoutSeconds) + " s"
                               : "the Linux shell did not start";
            return result;
        }
        ::Sleep(kPollMilliseconds);
    }
    result.ran = true;
    result.exitCode = ReadStatus(status);
    return result;
}

} // namespace bench
