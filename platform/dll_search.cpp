#include "dll_search.h"

#include <windows.h>

namespace {

// The headers declare them only for newer Windows than the program targets;
// they are looked up at run time, so that the program starts without them.
constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);

template <class Function> Function KernelFunction(const char* name) {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return kernel
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name)))
               : nullptr;
}

} // namespace

DllSearch RestrictDllSearchToSystem() {
    auto setDefault = KernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefault && setDefault(kSearchSystem32))
        return DllSearch::SystemDirectoryOnly;
    auto setDirectory = KernelFunction<SetDllDirectoryFunction>("SetDllDirectoryA");
    if (setDirectory && setDirectory(""))
        return DllSearch::CurrentDirectoryLeftOut;
    return DllSearch::Unchanged;
}
