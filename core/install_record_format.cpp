#include "install_record_format.h"

#include "byte_reader.h"

#include <cstring>

namespace setupcore {

const char kRecordSignature[kRecordSignatureSize] = {'K', 'e', 's', 't', 'r', 'e', 'l', 0,
                                                     0,   0,   1,   0,   0,   0,   1};
const char kMadeListSignature[kRecordSignatureSize] = {'K', 'e', 's', 't', 'r', 'e', 'l', 'M',
                                                       'a', 'd', 'e', 0,   0,   0,   1};

RecordError ReadCountedString(ByteReader& in, int32_t maxLength, std::string& out) {
    int32_t length = 0;
    if (!in.ReadInt32(length))
        return RecordError::LengthMissing;
    if (length < 0 || length > maxLength)
        return RecordError::StringTooLong;
    if (!in.ReadBytes(static_cast<size_t>(length), out))
        return RecordError::RunsPastEnd;
    return out.find('\0') == std::string::npos ? RecordError::None : RecordError::NulInText;
}

namespace {

RecordParseResult Fail(RecordParseResult& result, RecordError error, const ByteReader& in) {
    result.error = error;
    result.offset = in.Position();
    return result;
}

} // namespace

RecordParseResult DecodeInstallRecord(const uint8_t* data, size_t size, const char* signature) {
    RecordParseResult result;
    ByteReader in(data, size);
    if (size > kMaxRecordSize)
        return Fail(result, RecordError::TooLarge, in);
    if (size < kRecordSignatureSize || std::memcmp(data, signature, kRecordSignatureSize))
        return Fail(result, RecordError::BadSignature, in);
    in.Skip(kRecordSignatureSize);
    RecordError error = ReadCountedString(in, kMaxRecordDirectory, result.record.installDir);
    if (error == RecordError::None)
        error = ReadCountedString(in, kMaxRecordDirectory, result.record.reserved);
    if (error != RecordError::None)
        return Fail(result, error, in);
    for (;;) {
        int32_t length = 0;
        if (!in.ReadInt32(length))
            return Fail(result, RecordError::NoTerminator, in);
        if (length <= 0)
            return result; // a zero length ends the items just like -1
        if (length > kMaxRecordItem)
            return Fail(result, RecordError::ItemTooLong, in);
        if (result.record.items.size() == kMaxRecordItems)
            return Fail(result, RecordError::TooManyItems, in);
        std::string item;
        if (!in.ReadBytes(static_cast<size_t>(length), item))
            return Fail(result, RecordError::RunsPastEnd, in);
        if (item.find('\0') != std::string::npos)
            return Fail(result, RecordError::NulInText, in);
        result.record.items.push_back(item);
    }
}

std::string EncodeInstallRecord(const InstallRecordData& record, const char* signature) {
    ByteWriter out;
    out.Bytes(signature, kRecordSignatureSize);
    out.Counted(record.installDir);
    out.Counted(record.reserved);
    for (const std::string& item : record.items) {
        // A zero length would end the list for the reader and hide every later
        // item from the uninstaller; an empty item names nothing anyway.
        if (!CutAtNul(item).empty())
            out.Counted(CutAtNul(item));
    }
    out.Int32(-1);
    return out.Result();
}

} // namespace setupcore
