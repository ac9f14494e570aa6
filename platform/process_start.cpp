#include "process_start.h"

#include "unique_handle.h"

#include <vector>

UniqueKernelHandle StartOwnedProcess(const std::string& application, const char* commandLine,
                                     const std::string& currentDirectory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line;
    if (commandLine)
        line.assign(commandLine, commandLine + std::char_traits<char>::length(commandLine) + 1);
    if (!::CreateProcessA(application.c_str(), commandLine ? line.data() : nullptr, nullptr,
                          nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                          currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                          &started))
        return UniqueKernelHandle();
    UniqueKernelHandle thread(started.hThread);
    return UniqueKernelHandle(started.hProcess);
}

bool StartDetachedProcess(const std::string& application, const char* commandLine,
                          const std::string& currentDirectory) {
    return static_cast<bool>(StartOwnedProcess(application, commandLine, currentDirectory));
}
