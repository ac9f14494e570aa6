#include "packsetup/package_writer.h"

#include "package_identity.h"
#include "package_index.h"
#include "packsetup/package_check.h"
#include "packsetup/packed_file.h"
#include "packsetup/path_display.h"
#include "packsetup/stored_layout.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

class PackageWriter {
public:
    PackageWriter(const PackagePlan& plan, const IndexNames& names,
                  const ProgressSettings& progress)
        : plan_(plan), names_(names), stored_(StoredNames(plan.entries)), sizes_(FileSizes(plan)),
          meter_(progress, Sum(sizes_)) {}

    bool Run(std::string& error) {
        try {
            if (Prepare(error) && StoreEntries(error) && StoreExtras(error) && WriteIndex(error))
                return true;
        } catch (...) {
            RemoveWritten();
            throw;
        }
        RemoveWritten();
        return false;
    }

private:
    static std::vector<uintmax_t> FileSizes(const PackagePlan& plan) {
        std::vector<uintmax_t> sizes;
        for (const PackageEntry& entry : plan.entries) {
            std::error_code ec;
            uintmax_t size = fs::file_size(entry.source, ec);
            sizes.push_back(ec ? 0 : size);
        }
        return sizes;
    }

    static uint64_t Sum(const std::vector<uintmax_t>& sizes) {
        uint64_t total = 0;
        for (uintmax_t size : sizes)
            total += size;
        return total;
    }

    bool Prepare(std::string& error) {
        std::error_code ec;
        fs::create_directories(plan_.outDir, ec);
        if (ec) {
            error =
                "cannot create the output directory " + Quoted(plan_.outDir) + ": " + ec.message();
            return false;
        }
        // An index left by an earlier build would describe files this run
        // replaces; without it a half-written directory cannot pass for a package.
        fs::path index = plan_.outDir / kIndexFileName;
        fs::remove(index, ec);
        if (ec) {
            error = "cannot remove the earlier " + Quoted(index) + ": " + ec.message();
            return false;
        }
        return RemoveStaleNestedFiles(error);
    }

    // The installer takes a file from its whole name's place before its flat
    // one: a file an earlier build nested there would stand in for the flat
    // file this build writes.
    bool RemoveStaleNestedFiles(std::string& error) {
        for (size_t i = 0; i < stored_.size(); ++i) {
            const std::string& name = plan_.entries[i].name;
            if (IsNested(stored_[i]) || !IsNested(name))
                continue;
            const fs::path stale = StoredFilePath(plan_.outDir, name);
            std::error_code ec;
            if (fs::is_regular_file(fs::symlink_status(stale, ec)) && !fs::remove(stale, ec)) {
                error = "cannot remove the earlier " + Quoted(stale) + ": " + ec.message();
                return false;
            }
        }
        return true;
    }

    // Makes the folders of a nested file, noting those it made.
    bool MakeFolders(const fs::path& target, std::string& error) {
        std::vector<fs::path> missing;
        std::error_code ec;
        for (fs::path folder = target.parent_path();
             folder != plan_.outDir && !fs::exists(folder, ec); folder = folder.parent_path())
            missing.push_back(folder);
        for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
            if (!fs::create_directory(*folder, ec)) {
                error = "cannot create the folder " + Quoted(*folder) + ": " + ec.message();
                return false;
            }
            written_.push_back(*folder);
        }
        return true;
    }

    // An empty file is always stored plain: there is nothing to compress, and
    // the installer need not inflate a zero-length stream.
    bool StoresPlain(size_t i) const { return plan_.entries[i].plain || sizes_[i] == 0; }

    bool StoreEntries(std::string& error) {
        for (size_t i = 0; i < plan_.entries.size(); ++i) {
            const PackageEntry& entry = plan_.entries[i];
            const fs::path target = StoredFilePath(plan_.outDir, stored_[i]);
            if (IsNested(stored_[i]) && !MakeFolders(target, error))
                return false;
            written_.push_back(target);
            bool stored = StoresPlain(i)
                              ? StorePlain(entry.source, target, meter_, error)
                              : StoreCompressed(entry.source, target, plan_.best, meter_, error);
            if (!stored)
                return false;
        }
        return true;
    }

    bool StoreExtra(const fs::path& source, const char* storedAs, std::string& error) {
        if (source.empty())
            return true;
        fs::path target = plan_.outDir / storedAs;
        written_.push_back(target);
        ProgressMeter silent(ProgressSettings{}, 0);
        return StorePlain(source, target, silent, error);
    }

    bool StoreExtras(std::string& error) {
        return StoreExtra(plan_.license, kLicenseFileName, error) &&
               StoreExtra(plan_.url, kUrlFileName, error) &&
               StoreExtra(plan_.setupExe, kSetupExeFileName, error) &&
               StoreExtra(plan_.zlib, kZlibFileName, error);
    }

    setupcore::PackageIndex Index() const {
        setupcore::PackageIndex index;
        index.appExe = names_.appExe;
        index.header2 = names_.header2;
        index.folderName = names_.folderName;
        index.postInstall = names_.postInstall;
        index.obsoleteFiles = names_.obsoleteNames;
        for (size_t i = 0; i < plan_.entries.size(); ++i)
            index.files.push_back({names_.entryNames[i], StoresPlain(i) ? 0 : 1});
        // The setup program and its zlib1.dll are installed too, plain, from
        // the very files beside the index: the installed copy is the
        // uninstaller, and it cannot start without its zlib1.dll.
        if (!plan_.setupExe.empty())
            index.files.push_back({kSetupExeFileName, 0});
        if (!plan_.zlib.empty())
            index.files.push_back({kZlibFileName, 0});
        return index;
    }

    bool WriteIndex(std::string& error) {
        fs::path target = plan_.outDir / kIndexFileName;
        written_.push_back(target);
        std::string bytes = setupcore::EncodePackageIndex(Index());
        // A package without identity keeps the very bytes of earlier builds.
        if (!names_.identity.Empty()) {
            bytes += setupcore::EncodePackageIdentity(names_.identity);
            if (bytes.size() > setupcore::kMaxIndexSize) {
                error = "the index with the version and publisher would be " +
                        std::to_string(bytes.size()) + " bytes, more than the " +
                        std::to_string(setupcore::kMaxIndexSize) + " the installer reads";
                return false;
            }
        }
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out.fail()) {
            error = "cannot write " + Quoted(target);
            return false;
        }
        return true;
    }

    // Last written first: a folder's files go before it.
    void RemoveWritten() {
        for (auto path = written_.rbegin(); path != written_.rend(); ++path) {
            std::error_code ec;
            fs::remove(*path, ec); // best effort: the build has failed already
        }
    }

    const PackagePlan& plan_;
    const IndexNames& names_;
    std::vector<std::string> stored_; // where each entry lies, relative to the output directory
    std::vector<uintmax_t> sizes_;
    ProgressMeter meter_;
    std::vector<fs::path> written_;
};

} // namespace

bool BuildPackage(const PackagePlan& plan, std::string& error, const ProgressSettings& progress) {
    error.clear();
    try {
        IndexNames names;
        if (!CheckPackage(plan, names, error))
            return false;
        return PackageWriter(plan, names, progress).Run(error);
    } catch (const std::exception& e) {
        // Out of memory, or a name the file system library cannot convert.
        error = std::string("the package cannot be built: ") + e.what();
        return false;
    }
}

} // namespace packsetup
