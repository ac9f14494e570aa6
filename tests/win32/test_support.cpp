#include "test_support.h"

#include "unique_handle.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <sstream>

int ScriptedUserInterface::NextAnswer() {
    if (answers.empty())
        return IDOK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<int> ScriptedUserInterface::InterceptMessageBox(const std::string& text, UINT type) {
    boxes.push_back({text, type});
    return NextAnswer();
}

std::optional<INT_PTR> ScriptedUserInterface::InterceptModal(UINT templateId) {
    dialogs.push_back(templateId);
    if (onDialog)
        onDialog(templateId);
    return NextAnswer();
}

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    std::ostringstream name;
    name << base << "setuptest-" << ::GetCurrentProcessId() << "-" << ++counter << "-"
         << ::GetTickCount();
    path_ = name.str();
    RemoveTree(path_);
    if (!::CreateDirectoryA(path_.c_str(), nullptr))
        ADD_FAILURE() << "cannot create the temporary directory " << path_ << " (error "
                      << ::GetLastError() << ")";
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

RegistryKeyGuard::RegistryKeyGuard(std::string path) : path_(std::move(path)) {
    ::SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

RegistryKeyGuard::~RegistryKeyGuard() {
    ::SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

std::string LoadString(UINT id) {
    return LoadResourceString(id);
}

std::string Formatted(UINT id, const std::string& argument) {
    return FormatResourceString(id, argument);
}

std::string PendingRestartDeletions() {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    DWORD size = 0;
    ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&value[0]), &size);
    ::RegCloseKey(key);
    std::string text;
    for (wchar_t c : value)
        text += c == L'\0' ? '|' : static_cast<char>(c);
    return text;
}
