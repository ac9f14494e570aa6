#include "packsetup/utf8_arguments.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include <memory>
#endif

namespace packsetup {

#ifdef _WIN32

namespace {

std::string ToUtf8(const wchar_t* wide) {
    int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1)
        return {};
    std::string utf8(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], needed, nullptr, nullptr);
    utf8.pop_back(); // the NUL
    return utf8;
}

struct LocalFreer {
    void operator()(wchar_t** arguments) const { ::LocalFree(arguments); }
};

} // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
    int count = 0;
    std::unique_ptr<wchar_t*, LocalFreer> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(ToUtf8(wide.get()[i]));
    return arguments;
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

#endif

} // namespace packsetup
