// The install record as a value: the install directory and the items the
// installation made, in the order made, each typed. Read and written in the
// record's own layout (install_record_format.h), byte for byte.
#pragma once

#include "install_record_format.h"
#include "record_item.h"

#include <string>
#include <vector>

namespace setupcore {

struct InstallRecord {
    std::string installDir;
    std::vector<RecordItem> items;

    // The first item that names what `item` names (paths and keys compared
    // without regard to the case of ASCII letters); null when there is none.
    const RecordItem* Find(const RecordItem& item) const;
    // The items of this record that `newer` does not hold, in this order:
    // what an installation recorded here would leave behind.
    std::vector<RecordItem> NotIn(const InstallRecord& newer) const;
    // Appends each item of `other` that this record does not hold yet.
    void Merge(const InstallRecord& other);
};

// Whether two items name the same thing.
bool SameItem(const RecordItem& a, const RecordItem& b);

std::string EncodeRecord(const InstallRecord& record);
// The record in `data`, or the error that refuses it.
RecordError DecodeRecord(const uint8_t* data, size_t size, LeadBytePredicate isLead,
                         InstallRecord& record);

} // namespace setupcore
