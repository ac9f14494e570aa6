#include "file_change.h"

#include <memory>

namespace {

// A file that did not stand before the run.
class NewFileWrite : public Change {
public:
    explicit NewFileWrite(std::string path) : path_(std::move(path)) {}
    void Undo() override { ::DeleteFileA(path_.c_str()); }

private:
    std::string path_;
};

} // namespace

Problem JournalFileWrite(InstallTransaction& run, const std::string& path) {
    if (Problem problem = run.AnnounceFile(path))
        return problem;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        run.Journal(std::make_unique<NewFileWrite>(path));
    else
        run.replaced.SetAside(path); // back under its name should the run not commit
    return Problem();
}
