// Starting another program that then runs on its own.
#pragma once

#include <windows.h>

#include <string>

// Starts `application` with `commandLine` (null: none) in `currentDirectory`
// (empty: this process's), at normal priority and inheriting no handle; the
// new process is not waited for. False when it could not be started.
bool StartDetachedProcess(const std::string& application, const char* commandLine,
                          const std::string& currentDirectory);
