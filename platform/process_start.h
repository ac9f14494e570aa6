// Starting another program that then runs on its own.
#pragma once

#include "unique_handle.h"

#include <windows.h>

#include <string>

// Starts `application` with `commandLine` (null: none) in `currentDirectory`
// (empty: this process's), at normal priority and inheriting no handle; the
// new process is not waited for. False when it could not be started.
bool StartDetachedProcess(const std::string& application, const char* commandLine,
                          const std::string& currentDirectory);

// The same, but the new process is handed over to the caller, who may wait
// for it; an empty owner when it could not be started.
UniqueKernelHandle StartOwnedProcess(const std::string& application, const char* commandLine,
                                     const std::string& currentDirectory);
