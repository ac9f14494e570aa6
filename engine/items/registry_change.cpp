#include "registry_change.h"

#include "reg_key_holder.h"

#include <memory>

namespace {

class ValueChange : public Change {
public:
    ValueChange(std::string keyPath, std::string name) : keyPath_(keyPath), name_(name) {
        CRegKeyHolder key;
        if (key.Open(HKEY_CURRENT_USER, keyPath_.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (::RegQueryValueExA(key.m_hKey, name_.c_str(), nullptr, &type_, nullptr, &size) !=
            ERROR_SUCCESS)
            return;
        data_.resize(size);
        existed_ = ::RegQueryValueExA(key.m_hKey, name_.c_str(), nullptr, &type_,
                                      reinterpret_cast<BYTE*>(&data_[0]), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    // What the journal keeps of it, for a run that dies before it is undone.
    setupcore::JournalStep Step() const {
        setupcore::JournalStep step;
        step.kind = setupcore::StepKind::RegistryValue;
        step.path = keyPath_;
        step.name = name_;
        step.existed = existed_;
        step.type = type_;
        step.data = data_;
        return step;
    }
    void Undo() override {
        CRegKeyHolder key;
        if (key.Open(HKEY_CURRENT_USER, keyPath_.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS)
            return; // the key itself is gone again: so is the value
        if (!existed_)
            ::RegDeleteValueA(key.m_hKey, name_.c_str());
        else
            ::RegSetValueExA(key.m_hKey, name_.c_str(), 0, type_,
                             reinterpret_cast<const BYTE*>(data_.data()),
                             static_cast<DWORD>(data_.size()));
    }

private:
    std::string keyPath_, name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::string data_;
};

class KeyCreation : public Change {
public:
    explicit KeyCreation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
    // Its values are undone before it: made new, it is empty again by now.
    void Undo() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str()); }

private:
    std::string keyPath_;
};

// Announces the change of the value and keeps it for the undo; false when
// the journal could not keep it, and nothing may change.
bool JournalValue(InstallTransaction& run, const std::string& keyPath, const char* name) {
    auto change = std::make_unique<ValueChange>(keyPath, name);
    if (run.Announce({change->Step()}))
        return false;
    run.Journal(std::move(change));
    return true;
}

bool KeyStands(const std::string& keyPath) {
    CRegKeyHolder key;
    return key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

// Opens `keyPath` to change its value `name`, announcing the change and
// keeping it for the undo; the registry's result, or ERROR_CANTWRITE when
// the journal could not keep it.
LONG OpenForChange(InstallTransaction& run, const std::string& keyPath, const char* name,
                   CRegKeyHolder& key) {
    const LONG result = key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_SET_VALUE);
    if (result != ERROR_SUCCESS)
        return result;
    return JournalValue(run, keyPath, name) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LONG SetValue(InstallTransaction& run, const std::string& keyPath, const char* name, DWORD type,
              const BYTE* data, DWORD size) {
    CRegKeyHolder key;
    const LONG result = OpenForChange(run, keyPath, name, key);
    return result != ERROR_SUCCESS ? result
                                   : ::RegSetValueExA(key.m_hKey, name, 0, type, data, size);
}

} // namespace

LONG SetRegistryString(InstallTransaction& run, const std::string& keyPath, const char* name,
                       const std::string& value) {
    return SetValue(run, keyPath, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                    static_cast<DWORD>(value.size() + 1));
}

LONG SetRegistryNumber(InstallTransaction& run, const std::string& keyPath, const char* name,
                       DWORD value) {
    return SetValue(run, keyPath, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                    sizeof value);
}

LONG DeleteRegistryValue(InstallTransaction& run, const std::string& keyPath, const char* name) {
    CRegKeyHolder key;
    LONG result = OpenForChange(run, keyPath, name, key);
    if (result != ERROR_SUCCESS)
        return result;
    result = ::RegDeleteValueA(key.m_hKey, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

LONG MakeRegistryKey(InstallTransaction& run, const std::string& keyPath) {
    std::vector<setupcore::JournalStep> steps;
    if (!KeyStands(keyPath)) {
        setupcore::JournalStep step;
        step.kind = setupcore::StepKind::RegistryKey;
        step.path = keyPath;
        steps.push_back(step);
    }
    if (run.Announce(steps))
        return ERROR_CANTWRITE;
    CRegKeyHolder key;
    DWORD disposition = 0;
    const LONG result = key.Create(HKEY_CURRENT_USER, keyPath.c_str(), &disposition);
    if (result == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY)
        run.Journal(std::make_unique<KeyCreation>(keyPath));
    return result;
}
