// How messages show paths and names: in double quotes, so that spaces and
// empty names stay visible, with control bytes spelt out.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace packsetup {

inline std::string Quoted(const std::string& text) {
    std::string shown = "\"";
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        if (byte == 0) {
            shown += "<NUL>";
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "<0x%02X>", byte);
            shown += code;
        } else {
            shown += ch;
        }
    }
    return shown + "\"";
}

inline std::string Quoted(const std::filesystem::path& path) {
    try {
        return Quoted(path.u8string());
    } catch (const std::exception&) {
        // A Windows name that is not valid UTF-16 cannot be converted; say so
        // rather than lose the message that wanted to name it.
        return "(a path that cannot be shown)";
    }
}

} // namespace packsetup
