#include "read_or_tell.h"

#include "file_handle.h"
#include "string_table.h"
#include "user_interface.h"
#include "resource.h"

bool ReadWholeFileOrTell(const std::string& path, DWORD share, uint64_t maxSize,
                         UINT cannotOpenMessage, UINT invalidMessage, std::string& contents) {
    switch (ReadWholeFile(path, share, maxSize, contents)) {
    case WholeFileResult::Ok:
        return true;
    case WholeFileResult::NoMemory:
        AfxMessageBox(IDS_NO_MEMORY);
        return false;
    case WholeFileResult::TooLarge:
        AfxMessageBox(FormatResourceString(invalidMessage, path));
        return false;
    case WholeFileResult::OpenFailed:
    case WholeFileResult::ReadFailed:
        break;
    }
    AfxMessageBox(FormatResourceString(cannotOpenMessage, path));
    return false;
}
