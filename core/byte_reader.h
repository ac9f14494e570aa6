// Bounded reading of little-endian integers and byte runs from a buffer.
// Every read checks what is left first, so a malformed file can never make a
// caller look past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace setupcore {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }

    bool Skip(size_t count) {
        if (count > Remaining())
            return false;
        pos_ += count;
        return true;
    }

    bool ReadInt32(int32_t& value) {
        if (Remaining() < 4)
            return false;
        const uint8_t* p = data_ + pos_;
        uint32_t u =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        value = static_cast<int32_t>(u);
        pos_ += 4;
        return true;
    }

    // Reads `count` bytes as they stand (NUL bytes included).
    bool ReadBytes(size_t count, std::string& out) {
        if (count > Remaining())
            return false;
        out.assign(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return true;
    }

    // Reads a NUL-terminated string and steps past its NUL. Fails when no NUL
    // follows within the buffer or within `maxText` bytes of text.
    enum class TextResult { Ok, Unterminated, TooLong };
    TextResult ReadTerminated(size_t maxText, std::string& out) {
        for (size_t i = pos_; i < size_; ++i) {
            if (data_[i] != 0)
                continue;
            if (i - pos_ > maxText)
                return TextResult::TooLong;
            out.assign(reinterpret_cast<const char*>(data_ + pos_), i - pos_);
            pos_ = i + 1;
            return TextResult::Ok;
        }
        return Remaining() > maxText ? TextResult::TooLong : TextResult::Unterminated;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Appends little-endian integers and byte runs; the writing half of ByteReader.
class ByteWriter {
public:
    void Int32(int32_t value) {
        uint32_t u = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes_.push_back(static_cast<char>((u >> shift) & 0xFF));
    }
    void Bytes(const std::string& text) { bytes_ += text; }
    void Bytes(const char* data, size_t size) { bytes_.append(data, size); }
    void Terminated(const std::string& text) {
        bytes_ += text;
        bytes_.push_back('\0');
    }
    void Counted(const std::string& text) {
        Int32(static_cast<int32_t>(text.size()));
        bytes_ += text;
    }
    const std::string& Result() const { return bytes_; }

private:
    std::string bytes_;
};

// Text up to its first NUL byte, the way a C string reader would see it.
inline std::string CutAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

} // namespace setupcore
