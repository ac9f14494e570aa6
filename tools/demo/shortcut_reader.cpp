#include "shortcut_reader.h"

#include "com_ptr.h"

#include <windows.h>

#include <shlobj.h>

namespace {

std::wstring Wide(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

bool ReadShortcut(const std::string& linkPath, ShortcutContent& content) {
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(Wide(linkPath).c_str(), STGM_READ)))
        return false;
    char text[MAX_PATH * 4] = "";
    // SLGP_RAWPATH: the target as stored, not resolved against the disk.
    content.target = SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)) ? text : "";
    content.arguments = SUCCEEDED(link->GetArguments(text, sizeof text)) ? text : "";
    content.workingDirectory = SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)) ? text : "";
    content.iconIndex = 0;
    content.iconPath =
        SUCCEEDED(link->GetIconLocation(text, sizeof text, &content.iconIndex)) ? text : "";
    return true;
}
