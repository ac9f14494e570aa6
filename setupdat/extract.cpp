// The copy run: obsolete files out, every packaged file copied or inflated
// into the install directory, the result recorded, the package cleared away.
#include "setup_dat.h"

#include "ansi_text.h"
#include "file_handle.h"
#include "install_problem_dlg.h"
#include "string_table.h"
#include "user_interface.h"
#include "path_helpers.h"
#include "path_text.h"
#include "reboot_delete.h"
#include "resource.h"
#include "zlib_stream.h"

#include <vector>

namespace {

enum class CopyResult { Ok, SourceUnreadable, Invalid, NoMemory, WriteFailed };

CopyResult CopyPlain(FileHandle& source, FileHandle& target, std::vector<uint8_t>& chunk) {
    for (;;) {
        DWORD got = 0;
        if (!source.Read(chunk.data(), static_cast<DWORD>(chunk.size()), got))
            return CopyResult::SourceUnreadable;
        if (got == 0)
            return CopyResult::Ok;
        if (!target.Write(chunk.data(), got))
            return CopyResult::WriteFailed;
    }
}

CopyResult Inflate(FileHandle& source, FileHandle& target, std::vector<uint8_t>& chunk) {
    int32_t declared = 0;
    DWORD got = 0;
    if (!source.Read(&declared, sizeof declared, got))
        return CopyResult::SourceUnreadable;
    if (got != sizeof declared)
        return CopyResult::Invalid;
    setupcore::Inflater inflater(declared);
    const setupcore::ByteSink write = [&target](const uint8_t* data, size_t size) {
        return target.Write(data, static_cast<DWORD>(size));
    };
    setupcore::StreamStatus status = setupcore::StreamStatus::NeedMore;
    for (;;) {
        if (!source.Read(chunk.data(), static_cast<DWORD>(chunk.size()), got))
            return CopyResult::SourceUnreadable;
        if (got == 0)
            break;
        status = inflater.Feed(chunk.data(), got, write);
        if (status != setupcore::StreamStatus::NeedMore && status != setupcore::StreamStatus::Ok)
            break;
    }
    switch (inflater.Finish()) {
    case setupcore::StreamStatus::Ok:
        return CopyResult::Ok;
    case setupcore::StreamStatus::NoMemory:
        return CopyResult::NoMemory;
    case setupcore::StreamStatus::SinkFailed:
        return CopyResult::WriteFailed;
    default:
        return CopyResult::Invalid;
    }
}

} // namespace

int CSetupDat::OpenTarget(const std::string& target, FileHandle& file) {
    for (;;) {
        if (file.Create(target, GENERIC_READ | GENERIC_WRITE, 0))
            return 1;
        if (setupcore::EqualsIgnoringAsciiCase(
                setupcore::ExtensionAfterLastDot(target, IsAnsiLeadByte), "dll")) {
            CInstallProblemDlg problem;
            if (problem.DoModal() != IDOK)
                return 0;
        } else if (AfxMessageBox(FormatResourceString(IDS_STOP_EXECUTABLE, target),
                                 MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
            return 0;
        }
    }
}

int CSetupDat::ExtractFile(SetupFileEntry* entry) {
    const std::string sourcePath = AppendPath(m_szSourceDir, ExtractFileName(entry->szName, true));
    std::string targetPath = AppendPath(m_szInstallDir, entry->szName);
    std::string unknownToken;
    if (!ExpandTargetPath(targetPath, unknownToken, &m_createdPaths)) {
        AfxMessageBox(FormatResourceString(IDS_NO_SYSTEM_DIR, unknownToken));
        return 0;
    }
    entry->szName = targetPath;

    FileHandle source, target;
    if (!source.Open(sourcePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        AfxMessageBox(FormatResourceString(IDS_CANNOT_OPEN_FILE, sourcePath));
        return 0;
    }
    const bool targetExisted = ::GetFileAttributesA(targetPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!OpenTarget(targetPath, target))
        return 0;
    if (!targetExisted)
        m_createdPaths.push_back(targetPath);

    std::vector<uint8_t> chunk;
    try {
        chunk.resize(setupcore::kStreamChunk);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(IDS_NO_MEMORY);
        return 0;
    }
    CopyResult result =
        entry->bCompressed ? Inflate(source, target, chunk) : CopyPlain(source, target, chunk);
    switch (result) {
    case CopyResult::Ok:
        return 1;
    case CopyResult::SourceUnreadable:
        AfxMessageBox(FormatResourceString(IDS_CANNOT_OPEN_FILE, sourcePath));
        break;
    case CopyResult::Invalid:
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID, sourcePath));
        break;
    case CopyResult::NoMemory:
        AfxMessageBox(IDS_NO_MEMORY);
        break;
    case CopyResult::WriteFailed:
        AfxMessageBox(FormatResourceString(IDS_EXTRACT_FAILED, targetPath));
        break;
    }
    // A failed target is left behind empty rather than holding a part of the data.
    target.Truncate();
    return 0;
}

int CSetupDat::InstallFiles(const std::string& recordFileName) {
    for (const std::string& name : m_obsoleteFiles)
        ::DeleteFileA(AppendPath(m_szInstallDir, name).c_str()); // absent is normal

    for (const auto& entry : m_files) {
        if (!ExtractFile(entry.get()))
            return 0;
        AddInstalledItem(entry->szName);
    }

    // The record goes first: should it fail, the package stays complete for another try.
    if (!WriteInstallRecord(recordFileName))
        return 0;

    for (const auto& entry : m_files) {
        const std::string packaged =
            AppendPath(m_szSourceDir, ExtractFileName(entry->szName, true));
        if (!::DeleteFileA(packaged.c_str()))
            DeleteOnReboot(packaged); // zlib1.dll, for one, is held by this very program
    }
    return 1;
}
