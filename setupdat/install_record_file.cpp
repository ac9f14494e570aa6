#include "install_record_file.h"

#include "ansi_text.h"
#include "whole_file.h"

#include <new>

Problem ReadInstallRecord(const std::string& path, setupcore::InstallRecord& record) {
    std::string contents;
    if (Problem problem =
            ReadWholeFileFor(path, FILE_SHARE_READ | FILE_SHARE_WRITE, setupcore::kMaxRecordSize,
                             ProblemKind::CannotOpenRecord, ProblemKind::RecordInvalid, contents))
        return problem;
    try {
        if (setupcore::DecodeRecord(reinterpret_cast<const uint8_t*>(contents.data()),
                                    contents.size(), IsAnsiLeadByte,
                                    record) != setupcore::RecordError::None)
            return Problem::Of(ProblemKind::RecordInvalid, path);
    } catch (const std::bad_alloc&) {
        return Problem::Of(ProblemKind::NoMemory);
    }
    return Problem();
}
