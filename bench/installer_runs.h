// A peer's installer run as a whole process, the way a user's silent install
// runs it: `installer.exe /S /D=<install directory>` (/D= last and unquoted,
// as NSIS wants it), in a fresh install directory. Timed from the parent's
// side; afterwards, outside the timing, every file must be there in full.
#pragma once

#include "method_runs.h"
#include "options.h"
#include "peer_builds.h"
#include "work_paths.h"

namespace bench {

RunResult RunInstaller(const Method& method, const Options& options, const WorkPaths& paths,
                       const PeerInstaller& installer, NsisTarget target);

} // namespace bench
