// Registry keys and values as the demo reports them: whether they exist, and
// each value of a key in words.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool KeyExists(HKEY root, const std::string& subkey);
bool ValueExists(HKEY root, const std::string& subkey, const std::string& name);

// The raw bytes of a value; empty when it is missing.
std::string ReadValueBytes(HKEY root, const std::string& subkey, const std::string& name);
// A string value without its terminating NUL; empty when it is missing.
std::string ReadString(HKEY root, const std::string& subkey, const std::string& name);

struct RegistryValue {
    std::string name;
    std::string type; // REG_SZ, REG_DWORD, ...
    std::string data; // strings as they are, numbers in decimal
};

// Every value of the key, in the registry's order; empty when the key is missing.
std::vector<RegistryValue> ReadValues(HKEY root, const std::string& subkey);
