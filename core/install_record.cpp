#include "install_record.h"

namespace setupcore {

bool SameItem(const RecordItem& a, const RecordItem& b) {
    return a.kind == b.kind && EqualsIgnoringAsciiCase(a.path, b.path) &&
           EqualsIgnoringAsciiCase(a.parentKey, b.parentKey) &&
           EqualsIgnoringAsciiCase(a.name, b.name);
}

const RecordItem* InstallRecord::Find(const RecordItem& item) const {
    for (const RecordItem& candidate : items)
        if (SameItem(candidate, item))
            return &candidate;
    return nullptr;
}

std::vector<RecordItem> InstallRecord::NotIn(const InstallRecord& newer) const {
    std::vector<RecordItem> missing;
    for (const RecordItem& item : items)
        if (!newer.Find(item))
            missing.push_back(item);
    return missing;
}

void InstallRecord::Merge(const InstallRecord& other) {
    for (const RecordItem& item : other.items)
        if (!Find(item))
            items.push_back(item);
}

std::string EncodeRecord(const InstallRecord& record) {
    InstallRecordData data{record.installDir, std::string(), {}};
    for (const RecordItem& item : record.items)
        data.items.push_back(EncodeItem(item));
    return EncodeInstallRecord(data);
}

RecordError DecodeRecord(const uint8_t* data, size_t size, LeadBytePredicate isLead,
                         InstallRecord& record) {
    const RecordParseResult parsed = DecodeInstallRecord(data, size);
    if (!parsed.Ok())
        return parsed.error;
    record.installDir = parsed.record.installDir;
    record.items.clear();
    for (const std::string& text : parsed.record.items)
        record.items.push_back(ClassifyItem(text, isLead));
    return RecordError::None;
}

} // namespace setupcore
