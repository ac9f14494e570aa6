#include "whole_file.h"

#include "file_handle.h"

Problem ReadWholeFileFor(const std::string& path, DWORD share, ProblemKind cannotOpen,
                         std::string& contents) {
    switch (ReadWholeFile(path, share, contents)) {
    case WholeFileResult::Ok:
        return Problem();
    case WholeFileResult::NoMemory:
        return Problem::Of(ProblemKind::NoMemory);
    case WholeFileResult::OpenFailed:
    case WholeFileResult::ReadFailed:
        break;
    }
    return Problem::Of(cannotOpen, path, ::GetLastError());
}
