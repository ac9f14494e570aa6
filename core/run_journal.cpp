#include "run_journal.h"

#include <cstdio>

namespace setupcore {

namespace {

constexpr char kHead[] = "KestrelJournal";
constexpr char kVersion[] = "1";
constexpr char kSeparator = '\t';

struct StepTag {
    StepKind kind;
    const char* tag;
};
constexpr StepTag kTags[] = {
    {StepKind::Directory, "dir"},         {StepKind::NewFile, "new"},
    {StepKind::ReplacedFile, "replace"},  {StepKind::RegistryValue, "value"},
    {StepKind::RegistryKey, "key"},       {StepKind::Committed, "commit"},
    {StepKind::EarlierPlace, "earlier"},  {StepKind::EarlierItem, "earlier-item"},
    {StepKind::EarlierFolder, "earlier-folder"},
};

// Every byte below a blank, and the escape itself, as %XX.
std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescaped(const std::string& field, std::string& out) {
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return false;
        const int high = HexDigit(field[i + 1]), low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == kSeparator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string Line(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? std::string(1, kSeparator) : std::string()) + Escaped(fields[i]);
    return line + "\n";
}

const char* TagOf(StepKind kind) {
    for (const StepTag& tag : kTags)
        if (tag.kind == kind)
            return tag.tag;
    return "";
}

bool KindOf(const std::string& text, StepKind& kind) {
    for (const StepTag& tag : kTags)
        if (text == tag.tag) {
            kind = tag.kind;
            return true;
        }
    return false;
}

bool DecodeNumber(const std::string& text, uint32_t& value) {
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    if (number > 0xFFFFFFFFu)
        return false;
    value = static_cast<uint32_t>(number);
    return true;
}

bool DecodeStep(const std::vector<std::string>& fields, JournalStep& step) {
    if (fields.empty() || !KindOf(fields[0], step.kind))
        return false;
    std::vector<std::string> values(fields.size());
    for (size_t i = 1; i < fields.size(); ++i)
        if (!Unescaped(fields[i], values[i]))
            return false;
    switch (step.kind) {
    case StepKind::Committed:
        return fields.size() == 1;
    case StepKind::RegistryValue: {
        uint32_t existed = 0;
        if (fields.size() != 6 || !DecodeNumber(values[3], existed) || existed > 1 ||
            !DecodeNumber(values[4], step.type))
            return false;
        step.path = values[1];
        step.name = values[2];
        step.existed = existed == 1;
        step.data = values[5];
        return !step.path.empty();
    }
    case StepKind::EarlierPlace: {
        uint32_t perUser = 0;
        if (fields.size() != 3 || !DecodeNumber(values[2], perUser) || perUser > 1)
            return false;
        step.path = values[1];
        step.existed = perUser == 1;
        return !step.path.empty();
    }
    default:
        if (fields.size() != 2)
            return false;
        step.path = values[1];
        return !step.path.empty();
    }
}

} // namespace

bool RunJournal::Committed() const {
    for (const JournalStep& step : steps)
        if (step.kind == StepKind::Committed)
            return true;
    return false;
}

std::string EncodeJournalHead(const RunJournal& journal) {
    return Line({kHead, kVersion, journal.op == JournalOp::Install ? "install" : "uninstall",
                 journal.product, journal.place});
}

std::string EncodeJournalStep(const JournalStep& step) {
    switch (step.kind) {
    case StepKind::Committed:
        return Line({TagOf(step.kind)});
    case StepKind::RegistryValue:
        return Line({TagOf(step.kind), step.path, step.name, step.existed ? "1" : "0",
                     std::to_string(step.type), step.data});
    case StepKind::EarlierPlace:
        return Line({TagOf(step.kind), step.path, step.existed ? "1" : "0"});
    default:
        return Line({TagOf(step.kind), step.path});
    }
}

std::string EncodeJournal(const RunJournal& journal) {
    std::string text = EncodeJournalHead(journal);
    for (const JournalStep& step : journal.steps)
        text += EncodeJournalStep(step);
    return text;
}

bool DecodeJournal(const std::string& text, RunJournal& journal) {
    journal = RunJournal();
    // Every line ends in a newline: a text cut short within a line is damaged.
    if (text.empty() || text.back() != '\n')
        return false;
    size_t start = 0;
    bool head = true;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::vector<std::string> fields = Fields(text.substr(start, end - start));
        start = end + 1;
        if (head) {
            std::string product, place;
            if (fields.size() != 5 || fields[0] != kHead || fields[1] != kVersion ||
                (fields[2] != "install" && fields[2] != "uninstall") ||
                !Unescaped(fields[3], product) || !Unescaped(fields[4], place) || place.empty())
                return false;
            journal.op = fields[2] == "install" ? JournalOp::Install : JournalOp::Uninstall;
            journal.product = product;
            journal.place = place;
            head = false;
            continue;
        }
        JournalStep step;
        if (!DecodeStep(fields, step))
            return false;
        journal.steps.push_back(step);
    }
    return !head;
}

std::string SuccessorName(const std::string& file, int occurrence) {
    return file + ".kst-new" + (occurrence > 0 ? std::to_string(occurrence) : std::string());
}

std::string AsideName(const std::string& file) {
    return file + ".kst-old";
}

std::string PartName(const std::string& file) {
    return file + ".kst-part";
}

} // namespace setupcore
