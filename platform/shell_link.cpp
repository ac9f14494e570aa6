#include "shell_link.h"

#include "com_ptr.h"

#include <shlobj.h>

#include <memory>

namespace {

// An item identifier list goes back to the allocator the shell made it with.
struct ShellFree {
    IMalloc* allocator;
    void operator()(ITEMIDLIST* list) const noexcept { allocator->Free(list); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, ShellFree>;

void WriteFolderPath(LPCITEMIDLIST list, std::string& destination) {
    ComPtr<IShellFolder> folder;
    if (FAILED(::SHGetDesktopFolder(folder.put())))
        return;
    // The desktop binds the item as a folder of its own; what it cannot bind
    // (the desktop itself, whose list is empty) stays with the desktop. The
    // path comes from the identifier list either way.
    ComPtr<IShellFolder> bound;
    if (SUCCEEDED(folder->BindToObject(list, nullptr, IID_IShellFolder, bound.put_void())))
        folder = std::move(bound);
    char path[MAX_PATH] = "";
    if (folder && ::SHGetPathFromIDListA(list, path))
        destination = path;
}

void DescribeLink(IShellLinkA& link, const std::string& target, const char* workingDirectory,
                  const char* iconPath, int iconIndex, const char* arguments) {
    // A link may name a target that is not there yet; the shell accepts it,
    // and nothing here is worth stopping the save for.
    link.SetPath(target.c_str());
    if (workingDirectory)
        link.SetWorkingDirectory(workingDirectory);
    if (iconPath)
        link.SetIconLocation(iconPath, iconIndex);
    if (arguments && *arguments)
        link.SetArguments(arguments);
}

HRESULT SaveLink(IShellLinkA& link, const std::string& linkFile) {
    ComPtr<IPersistFile> file;
    HRESULT result = link.QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result))
        return result;
    // A path that does not fit is refused whole: a cut one would name another file.
    WCHAR widePath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, widePath, MAX_PATH)) {
        DWORD error = ::GetLastError();
        return HRESULT_FROM_WIN32(error == ERROR_INSUFFICIENT_BUFFER ? ERROR_FILENAME_EXCED_RANGE
                                                                     : error);
    }
    return file->Save(widePath, TRUE);
}

} // namespace

int GetSpecialFolderPath(std::string& destination, int folder) {
    ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.put())))
        return 1;
    LPITEMIDLIST raw = nullptr;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, folder, &raw))) {
        ItemIdList list(raw, ShellFree{allocator.get()});
        WriteFolderPath(list.get(), destination);
    }
    return 0;
}

HRESULT CreateShortcut(const std::string& target, const std::string& linkFile,
                       const char* workingDirectory, const char* iconPath, int iconIndex,
                       const char* arguments) {
    ComInitScope com;
    if (!com)
        return -1;
    ComPtr<IShellLinkA> link;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, link.put_void());
    if (FAILED(result))
        return result;
    DescribeLink(*link.get(), target, workingDirectory, iconPath, iconIndex, arguments);
    return SaveLink(*link.get(), linkFile);
}
