#include "record_item.h"

#include <cstring>

namespace setupcore {

const char kRegistryPrefix[] = "%REG_CURRENT_USER%";

namespace {

constexpr size_t kMaxRegistryName = 255;

// An item no installation writes keeps its text, so that it is written
// back, listed and logged as it stood.
RecordItem Unusable(ItemKind kind, const std::string& text) {
    RecordItem item;
    item.kind = kind;
    item.path = text;
    return item;
}

RecordItem ClassifyRegistryItem(const std::string& rest, LeadBytePredicate isLead) {
    RecordItem item;
    std::string path = rest;
    bool isKey = !path.empty() && path.back() == '\\';
    if (isKey)
        path.pop_back();
    size_t slash = FindLastChar(path, '\\', isLead);
    if (slash == kNotFound || slash + 1 == path.size() ||
        path.size() - slash - 1 > kMaxRegistryName)
        return Unusable(ItemKind::RegistryMalformed, kRegistryPrefix + rest);
    item.kind = isKey ? ItemKind::RegistryKey : ItemKind::RegistryValue;
    item.parentKey = path.substr(0, slash + 1);
    item.name = path.substr(slash + 1);
    return item;
}

RecordItem ClassifyPath(const std::string& text, LeadBytePredicate isLead) {
    RecordItem item;
    if (text.empty() || text == "\\")
        return Unusable(ItemKind::Empty, text);
    if (text.back() == '\\') {
        item.kind = ItemKind::Directory;
        item.path = text.substr(0, text.size() - 1);
        return item;
    }
    item.kind = FindFirstChar(text, '\\', 0, isLead) == kNotFound ? ItemKind::BareFile
                                                                  : ItemKind::FullPathFile;
    item.path = text;
    return item;
}

RecordItem Registry(ItemKind kind, const std::string& parentKey, const std::string& name) {
    RecordItem item;
    item.kind = kind;
    item.parentKey = parentKey;
    item.name = name;
    return item;
}

} // namespace

RecordItem RecordItem::ForPath(const std::string& path, LeadBytePredicate isLead) {
    return ClassifyPath(path, isLead);
}

RecordItem RecordItem::ForRegistryKey(const std::string& parentKey, const std::string& name) {
    return Registry(ItemKind::RegistryKey, parentKey, name);
}

RecordItem RecordItem::ForRegistryValue(const std::string& parentKey, const std::string& name) {
    return Registry(ItemKind::RegistryValue, parentKey, name);
}

std::string EncodeItem(const RecordItem& item) {
    switch (item.kind) {
    case ItemKind::RegistryKey:
        return kRegistryPrefix + item.parentKey + item.name + "\\";
    case ItemKind::RegistryValue:
        return kRegistryPrefix + item.parentKey + item.name;
    case ItemKind::Directory:
        return item.path + "\\";
    case ItemKind::FullPathFile:
    case ItemKind::BareFile:
    case ItemKind::Empty:
    case ItemKind::RegistryMalformed:
        break;
    }
    return item.path;
}

RecordItem ClassifyItem(const std::string& text, LeadBytePredicate isLead) {
    const size_t prefixLength = std::strlen(kRegistryPrefix);
    if (text.compare(0, prefixLength, kRegistryPrefix) == 0)
        return ClassifyRegistryItem(text.substr(prefixLength), isLead);
    return ClassifyPath(text, isLead);
}

std::string RecordFileName(const std::string& programBaseName) {
    return programBaseName + "Info.dat";
}

std::string MadeListFileName(const std::string& recordFileName) {
    static const std::string kRecordSuffix = "Info.dat";
    const size_t stem = recordFileName.size() - kRecordSuffix.size();
    if (recordFileName.size() > kRecordSuffix.size() &&
        recordFileName.compare(stem, std::string::npos, kRecordSuffix) == 0)
        return recordFileName.substr(0, stem) + "Made.dat";
    return recordFileName + ".made";
}

} // namespace setupcore
