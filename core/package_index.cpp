#include "package_index.h"

#include "byte_reader.h"

namespace setupcore {
namespace {

class IndexParser {
public:
    IndexParser(const uint8_t* data, size_t size) : in_(data, size) {}

    IndexParseResult Run() {
        int32_t leading = 0;
        if (!in_.ReadInt32(leading))
            return Fail(IndexError::TooShort);
        result_.index.leadingWord = static_cast<uint32_t>(leading);
        PackageIndex& idx = result_.index;
        if (!Header(kMaxAppExe, idx.appExe) || !Header(kMaxHeader2, idx.header2) ||
            !Header(kMaxFolderName, idx.folderName) || !Header(kMaxPostInstall, idx.postInstall))
            return result_;
        int32_t count = 0;
        if (!Count(count))
            return result_;
        for (int32_t i = 0; i < count; ++i) {
            std::string name;
            if (!Name(name))
                return result_;
            idx.obsoleteFiles.push_back(name);
        }
        if (!Count(count))
            return result_;
        for (int32_t i = 0; i < count; ++i) {
            PackagedFile file;
            if (!Name(file.name))
                return result_;
            if (!in_.ReadInt32(file.compressed))
                return Fail(IndexError::FlagMissing);
            idx.files.push_back(file);
        }
        return result_; // whatever follows the last entry is ignored
    }

private:
    IndexParseResult Fail(IndexError error) {
        result_.error = error;
        result_.offset = in_.Position();
        return result_;
    }

    bool Header(size_t maxText, std::string& out) {
        switch (in_.ReadTerminated(maxText, out)) {
        case ByteReader::TextResult::Ok:
            return true;
        case ByteReader::TextResult::TooLong:
            Fail(IndexError::HeaderTooLong);
            return false;
        case ByteReader::TextResult::Unterminated:
            break;
        }
        Fail(IndexError::HeaderUnterminated);
        return false;
    }

    bool Count(int32_t& count) {
        if (in_.ReadInt32(count))
            return true;
        Fail(IndexError::CountMissing);
        return false;
    }

    bool Name(std::string& out) {
        int32_t length = 0;
        if (!in_.ReadInt32(length)) {
            Fail(IndexError::NameLengthMissing);
            return false;
        }
        if (length < 0 || length > kMaxIndexName) {
            Fail(length < 0 ? IndexError::NameLengthNegative : IndexError::NameLengthTooLong);
            return false;
        }
        if (!in_.ReadBytes(static_cast<size_t>(length), out)) {
            Fail(IndexError::NameRunsPastEnd);
            return false;
        }
        return true;
    }

    ByteReader in_;
    IndexParseResult result_;
};

} // namespace

IndexParseResult ParsePackageIndex(const uint8_t* data, size_t size) {
    return IndexParser(data, size).Run();
}

const char* DescribeIndexError(IndexError error) {
    switch (error) {
    case IndexError::None:
        return "no error";
    case IndexError::TooShort:
        return "the file is shorter than its leading four bytes";
    case IndexError::HeaderUnterminated:
        return "a header string has no terminating NUL";
    case IndexError::HeaderTooLong:
        return "a header string is longer than its field";
    case IndexError::CountMissing:
        return "the file ends where a count should stand";
    case IndexError::NameLengthMissing:
        return "the file ends where a name length should stand";
    case IndexError::NameLengthNegative:
        return "a name length is negative";
    case IndexError::NameLengthTooLong:
        return "a name length is over 259";
    case IndexError::NameRunsPastEnd:
        return "a name runs past the end of the file";
    case IndexError::FlagMissing:
        return "the file ends where a compressed flag should stand";
    }
    return "unknown error";
}

std::string EncodePackageIndex(const PackageIndex& index) {
    ByteWriter out;
    out.Int32(static_cast<int32_t>(index.leadingWord));
    out.Terminated(index.appExe);
    out.Terminated(index.header2);
    out.Terminated(index.folderName);
    out.Terminated(index.postInstall);
    out.Int32(static_cast<int32_t>(index.obsoleteFiles.size()));
    for (const std::string& name : index.obsoleteFiles)
        out.Counted(name);
    out.Int32(static_cast<int32_t>(index.files.size()));
    for (const PackagedFile& file : index.files) {
        out.Counted(file.name);
        out.Int32(file.compressed);
    }
    return out.Result();
}

} // namespace setupcore
