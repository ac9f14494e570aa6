// Plain file helpers for the Win32 tests and the benchmark: no test framework.
#pragma once

#include <cstdint>
#include <string>

// Removes a directory with everything below it, read-only files included.
void RemoveTree(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Lengthens a file to `size` bytes without writing them (zeros when read).
void ExtendFile(const std::string& path, uint64_t size);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
std::string CurrentDirectory();
// The directory of the running program, where the build puts zlib1.dll too.
std::string OwnDirectory();
