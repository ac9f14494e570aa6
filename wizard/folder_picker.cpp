#include "folder_picker.h"

#include "com_ptr.h"
#include "path_helpers.h"

#include <shlobj.h>

#include <memory>

namespace {

struct TaskMemFree {
    void operator()(void* memory) const noexcept { ::CoTaskMemFree(memory); }
};
using OwnedIdList = std::unique_ptr<ITEMIDLIST, TaskMemFree>;

// `path`, or the nearest directory above it that exists; empty when none does.
std::string ExistingFolderAt(std::string path) {
    while (!path.empty() && !IsExistingDirectory(path)) {
        const size_t slash = path.find_last_of('\\');
        if (slash == std::string::npos)
            return std::string();
        // A drive's root keeps its backslash: "C:" alone names a current directory.
        path = slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
        if (path.size() == 3 && path[1] == ':' && !IsExistingDirectory(path))
            return std::string();
    }
    return path;
}

int CALLBACK SelectStart(HWND picker, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start)
        ::SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, start);
    return 0;
}

} // namespace

std::optional<std::string> PickFolder(HWND owner, const std::string& title,
                                      const std::string& start) {
    ComInitScope com;
    const std::string existing = ExistingFolderAt(start);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = SelectStart;
    info.lParam = existing.empty() ? 0 : reinterpret_cast<LPARAM>(existing.c_str());
    OwnedIdList chosen(::SHBrowseForFolderA(&info));
    char path[MAX_PATH] = "";
    if (!chosen || !::SHGetPathFromIDListA(chosen.get(), path))
        return std::nullopt;
    return std::string(path);
}
