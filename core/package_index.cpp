#include "package_index.h"

#include "byte_reader.h"

namespace setupcore {
namespace {

class IndexParser {
public:
    IndexParser(const uint8_t* data, size_t size, LeadBytePredicate isLead)
        : in_(data, size), isLead_(isLead) {}

    IndexParseResult Run() {
        if (in_.Remaining() > kMaxIndexSize)
            return Fail(IndexError::TooLarge);
        int32_t leading = 0;
        if (!in_.ReadInt32(leading))
            return Fail(IndexError::TooShort);
        result_.index.leadingWord = static_cast<uint32_t>(leading);
        if (!Headers(result_.index))
            return result_;
        int32_t count = 0;
        if (!Count(count))
            return result_;
        for (int32_t i = 0; i < count; ++i) {
            std::string name;
            if (!Name(name))
                return result_;
            result_.index.obsoleteFiles.push_back(name);
        }
        if (!Count(count))
            return result_;
        for (int32_t i = 0; i < count; ++i) {
            PackagedFile file;
            if (!Name(file.name))
                return result_;
            if (!in_.ReadInt32(file.compressed))
                return Fail(IndexError::FlagMissing);
            result_.index.files.push_back(file);
        }
        result_.end = in_.Position(); // whatever follows the last entry is ignored
        return result_;
    }

private:
    IndexParseResult Fail(IndexError error) {
        result_.error = error;
        result_.offset = in_.Position();
        return result_;
    }

    // The program names are checked when given; header 2 is used by nothing.
    bool Headers(PackageIndex& idx) {
        return Header(kMaxAppExe, CheckPackagedName, idx.appExe) &&
               Header(kMaxHeader2, nullptr, idx.header2) &&
               Header(kMaxFolderName, CheckFolderName, idx.folderName) &&
               Header(kMaxPostInstall, CheckPackagedName, idx.postInstall);
    }

    using NameRule = NameFault (*)(const std::string&, LeadBytePredicate);

    bool Header(size_t maxText, NameRule rule, std::string& out) {
        const size_t start = in_.Position();
        switch (in_.ReadTerminated(maxText, out)) {
        case ByteReader::TextResult::Ok:
            return !rule || out.empty() || Follows(rule, out, start);
        case ByteReader::TextResult::TooLong:
            Fail(IndexError::HeaderTooLong);
            return false;
        case ByteReader::TextResult::Unterminated:
            break;
        }
        Fail(IndexError::HeaderUnterminated);
        return false;
    }

    // A count above the cap is refused before any name is read, so it never
    // sizes anything.
    bool Count(int32_t& count) {
        if (!in_.ReadInt32(count)) {
            Fail(IndexError::CountMissing);
            return false;
        }
        if (count > kMaxIndexNames) {
            Fail(IndexError::CountTooLarge);
            return false;
        }
        return true;
    }

    // The installer uses a name up to its first NUL; that is what must pass.
    bool Follows(NameRule rule, const std::string& name, size_t start) {
        result_.nameFault = rule(CutAtNul(name), isLead_);
        if (result_.nameFault == NameFault::None)
            return true;
        result_.error = IndexError::UnsafeName;
        result_.offset = start;
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
        const size_t start = in_.Position();
        if (!in_.ReadBytes(static_cast<size_t>(length), out)) {
            Fail(IndexError::NameRunsPastEnd);
            return false;
        }
        return Follows(CheckPackagedName, out, start);
    }

    ByteReader in_;
    LeadBytePredicate isLead_;
    IndexParseResult result_;
};

} // namespace

IndexParseResult ParsePackageIndex(const uint8_t* data, size_t size, LeadBytePredicate isLead) {
    return IndexParser(data, size, isLead).Run();
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
    case IndexError::TooLarge:
        return "the file is larger than any package index";
    case IndexError::CountTooLarge:
        return "a count is larger than any package holds";
    case IndexError::UnsafeName:
        return "a name would reach outside its folder or is no plain Windows name";
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
