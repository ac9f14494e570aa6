#include "made_list.h"

#include "file_handle.h"
#include "install_record_format.h"
#include "whole_file.h"

#include "path_helpers.h"

namespace {
const char kPerUser[] = "per-user";
} // namespace

Problem WriteMadeList(const std::string& installDir, const std::string& fileName,
                      const MadeList& list) {
    // The layout's second string says for whom the installation was made.
    setupcore::InstallRecordData data{installDir, list.perUser ? kPerUser : std::string(), {}};
    // A folder is written as a directory item is, with its trailing backslash.
    for (const std::string& folder : list.folders)
        data.items.push_back(folder + "\\");
    data.items.insert(data.items.end(), list.windowsFiles.begin(), list.windowsFiles.end());
    const std::string bytes = setupcore::EncodeInstallRecord(data, setupcore::kMadeListSignature);
    const std::string path = AppendPath(installDir, fileName);
    if (!ReplaceWholeFile(path, bytes))
        return Problem::Of(ProblemKind::CannotCreateFile, path, ::GetLastError());
    return Problem();
}

Problem ReadMadeList(const std::string& path, std::optional<MadeList>& list) {
    list.reset();
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return Problem();
    std::string contents;
    if (Problem problem =
            ReadWholeFileFor(path, FILE_SHARE_READ, setupcore::kMaxRecordSize,
                             ProblemKind::CannotOpenRecord, ProblemKind::RecordInvalid, contents))
        return problem;
    const setupcore::RecordParseResult parsed =
        setupcore::DecodeInstallRecord(reinterpret_cast<const uint8_t*>(contents.data()),
                                       contents.size(), setupcore::kMadeListSignature);
    if (!parsed.Ok())
        return Problem::Of(ProblemKind::RecordInvalid, path);
    list.emplace();
    list->perUser = parsed.record.reserved == kPerUser;
    for (const std::string& item : parsed.record.items) {
        if (item.back() == '\\')
            list->folders.push_back(item.substr(0, item.size() - 1));
        else
            list->windowsFiles.push_back(item);
    }
    return Problem();
}
