#include "whole_file.h"

#include "file_handle.h"

Problem ReadWholeFileFor(const std::string& path, DWORD share, uint64_t maxSize,
                         ProblemKind cannotOpen, ProblemKind invalid, std::string& contents) {
    switch (ReadWholeFile(path, share, maxSize, contents)) {
    case WholeFileResult::Ok:
        return Problem();
    case WholeFileResult::NoMemory:
        return Problem::Of(ProblemKind::NoMemory);
    case WholeFileResult::TooLarge:
        return Problem::Of(invalid, path);
    case WholeFileResult::OpenFailed:
    case WholeFileResult::ReadFailed:
        break;
    }
    return Problem::Of(cannotOpen, path, ::GetLastError());
}
