#include "shipped_stub.h"

#include "test_files.h"

#include <windows.h>

#include <string>

namespace bench {

namespace {

uint64_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

} // namespace

ShippedStub ReadShippedStub() {
    const std::string directory = OwnDirectory();
    ShippedStub stub;
    stub.setupBytes = FileBytes(directory + "\\Setup.exe");
    stub.zlibBytes = FileBytes(directory + "\\zlib1.dll");
    return stub;
}

} // namespace bench
