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

bool WriteFolderPath(LPCITEMIDLIST list, std::string& destination) {
    ComPtr<IShellFolder> folder;
    if (FAILED(::SHGetDesktopFolder(folder.put())))
        return false;
    // The desktop binds the item as a folder of its own; what it cannot bind
    // (the desktop itself, whose list is empty) stays with the desktop. The
    // path comes from the identifier list either way.
    ComPtr<IShellFolder> bound;
    if (SUCCEEDED(folder->BindToObject(list, nullptr, IID_IShellFolder, bound.put_void())))
        folder = std::move(bound);
    char path[MAX_PATH] = "";
    if (!folder || !::SHGetPathFromIDListA(list, path))
        return false;
    destination = path;
    return true;
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

// The link file's path as IPersistFile takes it. A path that does not fit is
// refused whole: a cut one would name another file.
HRESULT WideLinkPath(const std::string& linkFile, WCHAR (&widePath)[MAX_PATH]) {
    if (::MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, widePath, MAX_PATH))
        return S_OK;
    DWORD error = ::GetLastError();
    return HRESULT_FROM_WIN32(error == ERROR_INSUFFICIENT_BUFFER ? ERROR_FILENAME_EXCED_RANGE
                                                                 : error);
}

HRESULT SaveLink(IShellLinkA& link, const std::string& linkFile) {
    ComPtr<IPersistFile> file;
    HRESULT result = link.QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result))
        return result;
    WCHAR widePath[MAX_PATH];
    result = WideLinkPath(linkFile, widePath);
    return FAILED(result) ? result : file->Save(widePath, TRUE);
}

HRESULT LoadLink(IShellLinkA& link, const std::string& linkFile) {
    ComPtr<IPersistFile> file;
    HRESULT result = link.QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result))
        return result;
    WCHAR widePath[MAX_PATH];
    result = WideLinkPath(linkFile, widePath);
    return FAILED(result) ? result : file->Load(widePath, STGM_READ);
}

void DescribeContents(IShellLinkA& link, ShortcutContents& contents) {
    char text[INFOTIPSIZE];
    auto textOf = [&text](HRESULT read) { return SUCCEEDED(read) ? std::string(text) : ""; };
    contents.target = textOf(link.GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
    contents.arguments = textOf(link.GetArguments(text, INFOTIPSIZE));
    contents.workingDirectory = textOf(link.GetWorkingDirectory(text, MAX_PATH));
    contents.iconPath = textOf(link.GetIconLocation(text, MAX_PATH, &contents.iconIndex));
}

} // namespace

bool GetSpecialFolderPath(std::string& destination, int folder) {
    ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.put())))
        return false;
    LPITEMIDLIST raw = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, &raw)))
        return false;
    ItemIdList list(raw, ShellFree{allocator.get()});
    return WriteFolderPath(list.get(), destination);
}

std::string SpecialFolderPath(int folder) {
    std::string path;
    GetSpecialFolderPath(path, folder);
    return path;
}

HRESULT CreateShortcut(const std::string& target, const std::string& linkFile,
                       const char* workingDirectory, const char* iconPath, int iconIndex,
                       const char* arguments) {
    ComInitScope com;
    if (!com)
        return com.Result();
    ComPtr<IShellLinkA> link;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, link.put_void());
    if (FAILED(result))
        return result;
    DescribeLink(*link.get(), target, workingDirectory, iconPath, iconIndex, arguments);
    return SaveLink(*link.get(), linkFile);
}

HRESULT ReadShortcut(const std::string& linkFile, ShortcutContents& contents) {
    ComInitScope com;
    if (!com)
        return com.Result();
    ComPtr<IShellLinkA> link;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, link.put_void());
    if (SUCCEEDED(result))
        result = LoadLink(*link.get(), linkFile);
    if (SUCCEEDED(result))
        DescribeContents(*link.get(), contents);
    return result;
}
