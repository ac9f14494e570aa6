#include "test_support.h"

#include "reg_key_holder.h"
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

RegistryValueGuard::RegistryValueGuard(HKEY root, const char* keyPath, const char* name)
    : root_(root), key_(keyPath), name_(name) {
    CRegKeyHolder key;
    if (key.Open(root_, key_, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    existed_ =
        ::RegQueryValueExA(key.m_hKey, name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
    data_.resize(size);
    if (existed_)
        ::RegQueryValueExA(key.m_hKey, name_, nullptr, &type_, data_.data(), &size);
}

RegistryValueGuard::~RegistryValueGuard() {
    CRegKeyHolder key;
    if (key.Create(root_, key_) != ERROR_SUCCESS)
        return;
    if (existed_)
        ::RegSetValueExA(key.m_hKey, name_, 0, type_, data_.data(),
                         static_cast<DWORD>(data_.size()));
    else
        ::RegDeleteValueA(key.m_hKey, name_);
}

void RegistryValueGuard::Set(const std::string& text) const {
    CRegKeyHolder key;
    ASSERT_EQ(key.Create(root_, key_), ERROR_SUCCESS) << key_;
    ::RegSetValueExA(key.m_hKey, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

bool RegistryKeyExists(const std::string& path) {
    CRegKeyHolder key;
    return key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ) == ERROR_SUCCESS;
}

bool RegistryValueExists(const std::string& keyPath, const char* name) {
    CRegKeyHolder key;
    return key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_READ) == ERROR_SUCCESS &&
           ::RegQueryValueExA(key.m_hKey, name, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

void SetRegistryValue(const std::string& keyPath, const char* name, const std::string& text) {
    CRegKeyHolder key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, keyPath.c_str()), ERROR_SUCCESS) << keyPath;
    ASSERT_EQ(::RegSetValueExA(key.m_hKey, name, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS)
        << keyPath << "\\" << name;
}

DWORD RegistryNumber(const std::string& keyPath, const char* name) {
    CRegKeyHolder key;
    DWORD value = ~0u, size = sizeof value, type = 0;
    if (key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        ::RegQueryValueExA(key.m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return ~0u;
    return value;
}

std::string RegistryString(const std::string& keyPath, const char* name) {
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_READ) != ERROR_SUCCESS)
        return "<no key>";
    char value[1024] = "";
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key.m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                           &size) != ERROR_SUCCESS)
        return "<no value>";
    return value;
}

std::string LoadString(UINT id) {
    return LoadResourceString(id);
}

std::string Formatted(UINT id, const std::string& argument) {
    return FormatResourceString(id, argument);
}

std::string PendingRestartDeletions() {
    CRegKeyHolder key;
    if (key.Open(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                 KEY_READ) != ERROR_SUCCESS)
        return "";
    DWORD size = 0;
    ::RegQueryValueExW(key.m_hKey, L"PendingFileRenameOperations", nullptr, nullptr, nullptr,
                       &size);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key.m_hKey, L"PendingFileRenameOperations", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&value[0]), &size);
    std::string text;
    for (wchar_t c : value)
        text += c == L'\0' ? '|' : static_cast<char>(c);
    return text;
}

bool RunAndWait(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return false;
    UniqueKernelHandle process(started.hProcess), thread(started.hThread);
    DWORD exitCode = 1;
    return ::WaitForSingleObject(process.get(), 120000) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(process.get(), &exitCode) && exitCode == 0;
}

namespace {

constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

ProgramsFoldersOverride::ProgramsFoldersOverride(const std::string& shared, const std::string& own)
    : sharedSetting_(HKEY_LOCAL_MACHINE, kUserShellFolders, "Common Programs"),
      sharedCopy_(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs"),
      ownSetting_(HKEY_CURRENT_USER, kUserShellFolders, "Programs"),
      ownCopy_(HKEY_CURRENT_USER, kShellFolders, "Programs") {
    sharedSetting_.Set(shared);
    ownSetting_.Set(own);
}
