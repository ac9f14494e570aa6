// The install record: a 15-byte signature, the install directory and a second
// (reserved) string as counted strings, the counted item texts, and -1.
// Decoding checks every length against the file and against the fields the
// installer keeps, and refuses a record that lacks its terminator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace setupcore {

constexpr size_t kRecordSignatureSize = 15;
extern const char kRecordSignature[kRecordSignatureSize];
// The list of what an installation made that its record does not name (the
// folders it made, the files it created below the Windows directory) is kept
// beside the record in the same layout under a signature of its own.
extern const char kMadeListSignature[kRecordSignatureSize];

constexpr int32_t kMaxRecordDirectory = 259; // the 260-byte directory fields
constexpr int32_t kMaxRecordItem = 1023;     // the 1024-byte item text

// An installation records each file it wrote, each directory it made and a
// dozen links and registry values. The largest index (kMaxIndexNames
// entries) with a directory of its own for every file makes about 131072
// items; four times that leaves room for deep trees. Full paths are at most
// some 520 bytes, so 64 MiB holds every record a real installation writes,
// and neither cap lets a hostile record make the uninstaller hold more.
constexpr size_t kMaxRecordSize = 64u << 20;
constexpr size_t kMaxRecordItems = 262144;

struct InstallRecordData {
    std::string installDir;
    std::string reserved;
    std::vector<std::string> items;
};

enum class RecordError {
    None,
    BadSignature,  // shorter than the signature, or any signature byte differs
    LengthMissing, // the file ends where a length should stand
    StringTooLong, // a directory string over 259 bytes, or negative
    ItemTooLong,   // an item over 1023 bytes
    RunsPastEnd,   // a string or item longer than what is left of the file
    NoTerminator,  // the items end without a length of zero or below
    TooLarge,      // the file is larger than kMaxRecordSize
    TooManyItems,  // more than kMaxRecordItems items
    NulInText,     // a string or item with a NUL byte inside: no installation writes one
};

struct RecordParseResult {
    RecordError error = RecordError::None;
    size_t offset = 0;
    InstallRecordData record;
    bool Ok() const { return error == RecordError::None; }
};

// Reads an int32 length and that many bytes into `out`, refusing lengths
// below zero or above `maxLength` and any that run past the end.
class ByteReader;
RecordError ReadCountedString(ByteReader& in, int32_t maxLength, std::string& out);

RecordParseResult DecodeInstallRecord(const uint8_t* data, size_t size,
                                      const char* signature = kRecordSignature);
// Empty items (and what follows a NUL in an item) are left out: the reader
// could not tell an empty item from the end of the list.
std::string EncodeInstallRecord(const InstallRecordData& record,
                                const char* signature = kRecordSignature);

} // namespace setupcore
