#include "nsis_script.h"

namespace bench {

namespace {

const char* CompressorLine(Peer peer) {
    // Solid LZMA compresses all files as one stream, NSIS's smallest output;
    // zlib compresses each file alone, as the copy run's package does.
    return peer == Peer::NsisLzma ? "SetCompressor /SOLID lzma" : "SetCompressor zlib";
}

} // namespace

std::string InstallerName(Peer peer, FileSet set) {
    return std::string(peer == Peer::NsisLzma ? "nsis-lzma-" : "nsis-zlib-") + SetName(set);
}

const char* NsisTargetName(NsisTarget target) {
    return target == NsisTarget::Amd64 ? "amd64-unicode" : "x86-unicode";
}

// Nothing but the defaults beyond what a silent install needs: the CRC check
// of the installer's data at start-up stays on, as in a shipped installer.
// The install directory comes from /D= on the command line.
std::string NsisScript(Peer peer, FileSet set, NsisTarget target, const std::string& rawFromPeers) {
    const std::string name = InstallerName(peer, set);
    std::string script = "; Written by extract_bench at run time: the " +
                         std::string(SetName(set)) + " payload, as a peer of the copy run.\n";
    script += "Target " + std::string(NsisTargetName(target)) + "\n";
    script += std::string(CompressorLine(peer)) + "\n";
    script += "Name \"extract_bench peer\"\n";
    script += "OutFile \"" + name + ".exe\"\n";
    script += "InstallDir \"$TEMP\\extract-bench-peer\"\n";
    script += "RequestExecutionLevel user\n";
    script += "Section\n";
    script += "  SetOutPath \"$INSTDIR\"\n";
    if (set != FileSet::None)
        script += "  File /r \"" + rawFromPeers + "/*\"\n";
    script += "SectionEnd\n";
    return script;
}

} // namespace bench
