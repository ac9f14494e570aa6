#include "packsetup/manifest.h"

#include "packsetup/path_display.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

// Splits a line into fields; false, with the reason, on an unclosed quote.
bool SplitFields(const std::string& line, std::vector<std::string>& fields, std::string& fault) {
    size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size())
            return true;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                fault = "a quoted field has no closing quote";
                return false;
            }
            fields.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            if (i < line.size() && !IsBlank(line[i])) {
                fault = "a closing quote is followed by more text";
                return false;
            }
        } else {
            size_t start = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            fields.push_back(line.substr(start, i - start));
        }
    }
}

class ManifestParser {
public:
    ManifestParser(const std::string& label, const fs::path& baseDir, ManifestContent& content)
        : label_(label), baseDir_(baseDir), content_(content) {}

    bool Line(const std::string& raw, size_t number, std::string& error) {
        size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#')
            return true; // blank line or comment
        std::vector<std::string> fields;
        std::string fault;
        if (SplitFields(raw, fields, fault) && Directive(fields, fault))
            return true;
        error = label_ + " line " + std::to_string(number) + ": " + fault;
        return false;
    }

private:
    bool Directive(const std::vector<std::string>& fields, std::string& fault) {
        if (fields[0] == "file")
            return File(fields, fault);
        if (fields[0] == "obsolete")
            return Obsolete(fields, fault);
        fault = "unknown directive " + Quoted(fields[0]) + " (expected file or obsolete)";
        return false;
    }

    bool File(const std::vector<std::string>& fields, std::string& fault) {
        bool plain = fields.size() == 4 && fields[3] == "plain";
        if (fields.size() != 3 && !plain) {
            fault = "expected: file <source-path> <packaged-name> [plain]";
            return false;
        }
        PackageEntry entry;
        fs::path source = fs::u8path(fields[1]); // the manifest is UTF-8
        entry.source = source.is_absolute() ? source : baseDir_ / source;
        entry.name = fields[2];
        entry.plain = plain;
        content_.entries.push_back(entry);
        return true;
    }

    bool Obsolete(const std::vector<std::string>& fields, std::string& fault) {
        if (fields.size() != 2) {
            fault = "expected: obsolete <name>";
            return false;
        }
        content_.obsoleteNames.push_back(fields[1]);
        return true;
    }

    const std::string& label_;
    const fs::path& baseDir_;
    ManifestContent& content_;
};

// A manifest saved by a Windows editor may start with a byte order mark and
// end its lines with CR LF.
std::string CleanLine(std::string line, size_t number) {
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

bool ParseManifest(const std::string& text, const std::string& label, const fs::path& baseDir,
                   ManifestContent& content, std::string& error) {
    ManifestParser parser(label, baseDir, content);
    std::istringstream lines(text);
    std::string line;
    for (size_t number = 1; std::getline(lines, line); ++number)
        if (!parser.Line(CleanLine(line, number), number, error))
            return false;
    return true;
}

bool ReadManifest(const fs::path& file, ManifestContent& content, std::string& error) {
    // A manifest is a short list, so it is read whole.
    std::ifstream in(file, std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        error = "cannot read the manifest " + Quoted(file);
        return false;
    }
    return ParseManifest(text, "the manifest " + Quoted(file), file.parent_path(), content, error);
}

} // namespace packsetup
