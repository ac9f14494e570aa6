// Each measured run is a fresh child process, this program started again with
//   extract_bench --run <method> <work directory> --large-mib N --small-count N
// so that the peak working set it reports is the method's own.
#pragma once

#include "method_runs.h"
#include "options.h"
#include "work_paths.h"

#include <string>

namespace bench {

// The parent's side: lays out fresh source and install directories (with a
// fresh copy of the packaged files when the method reads them), runs the
// child to its end and collects its result, then clears both directories.
RunResult RunInChild(const Method& method, const Options& options, const WorkPaths& paths);

// The child's side: runs the method named on its command line and leaves the
// result where the parent looks for it. Returns the process's exit code.
int ChildMain(const std::string& methodName, const Options& options, const WorkPaths& paths);

} // namespace bench
