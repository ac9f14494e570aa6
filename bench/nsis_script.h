// The NSIS script of one peer installer: the files of a set as installed (or
// none, for the empty installer whose run is the peer's start-up floor), one
// compressor, and the stub of the wanted architecture. makensis reads it in
// the peers directory, where it also writes the installer.
#pragma once

#include "methods.h"
#include "options.h"

#include <string>

namespace bench {

// The installer's name without extension, e.g. "nsis-zlib-large"; the
// script, the installer and the build log take it with .nsi, .exe and .log.
std::string InstallerName(Peer peer, FileSet set);

// makensis's name for the stub: "x86-unicode" or "amd64-unicode".
const char* NsisTargetName(NsisTarget target);

// The script's text. `rawFromPeers` is the set's installed files as a path
// relative to the peers directory, with forward slashes (makensis runs on
// Linux); ignored for FileSet::None.
std::string NsisScript(Peer peer, FileSet set, NsisTarget target, const std::string& rawFromPeers);

} // namespace bench
