#include "packsetup/name_encoding.h"

#include "packsetup/code_page.h"
#include "packsetup/path_display.h"
#include "packsetup/utf8_text.h"

namespace packsetup {
namespace {

// The first character of valid UTF-8 `utf8` that the code page cannot hold.
std::string FirstUnencodable(const std::string& utf8, unsigned codePage) {
    for (size_t i = 0; i < utf8.size();) {
        const std::string character =
            utf8.substr(i, Utf8SequenceLength(static_cast<unsigned char>(utf8[i])));
        std::string ignored;
        if (EncodeForCodePage(character, codePage, ignored) != EncodeOutcome::Ok)
            return character;
        i += character.size();
    }
    return utf8; // only the whole fails: name the whole
}

} // namespace

bool EncodeName(const std::string& label, const std::string& utf8, unsigned codePage,
                std::string& encoded, std::string& error) {
    switch (EncodeForCodePage(utf8, codePage, encoded)) {
    case EncodeOutcome::Ok:
        return true;
    case EncodeOutcome::NotUtf8:
        error = label + " " + Quoted(utf8) + " is not valid UTF-8";
        return false;
    case EncodeOutcome::NotInCodePage:
        break;
    }
    error = label + " " + Quoted(utf8) + " holds " + Quoted(FirstUnencodable(utf8, codePage)) +
            ", which code page " + std::to_string(codePage) + " cannot hold";
    return false;
}

} // namespace packsetup
