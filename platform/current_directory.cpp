#include "current_directory.h"

#include <vector>

CurrentDirectoryKeeper::CurrentDirectoryKeeper() {
    DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    saved_.assign(buffer.data(), length < buffer.size() ? length : 0);
}

CurrentDirectoryKeeper::~CurrentDirectoryKeeper() {
    if (!saved_.empty())
        ::SetCurrentDirectoryA(saved_.c_str());
}
