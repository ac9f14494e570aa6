// EncodeForCodePage with glibc's iconv, which knows Windows code page N as
// "CPN". Without a "//TRANSLIT" suffix iconv stops at a character the target
// cannot hold instead of replacing it.
#include "packsetup/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace packsetup {
namespace {

struct IconvCloser {
    void operator()(iconv_t handle) const { iconv_close(handle); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>; // iconv_t is a void*

IconvHandle Open(const std::string& to, const std::string& from) {
    iconv_t handle = iconv_open(to.c_str(), from.c_str());
    return IconvHandle(handle == reinterpret_cast<iconv_t>(-1) ? nullptr : handle);
}

// The whole of `text` converted, or false at the first byte iconv refuses.
bool Convert(const IconvHandle& converter, const std::string& text, std::string& converted) {
    converted.clear();
    std::string in = text;
    char* inPtr = &in[0];
    size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        converted.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
    // Flushes a stateful code page (1258 combines accents) back to its start.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    converted.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

bool IsUtf8(const std::string& text) {
    IconvHandle check = Open("UTF-32LE", "UTF-8");
    std::string ignored;
    return check && Convert(check, text, ignored);
}

} // namespace

EncodeOutcome EncodeForCodePage(const std::string& utf8, unsigned codePage, std::string& encoded) {
    if (!IsUtf8(utf8))
        return EncodeOutcome::NotUtf8;
    IconvHandle converter = Open("CP" + std::to_string(codePage), "UTF-8");
    if (!converter || !Convert(converter, utf8, encoded))
        return EncodeOutcome::NotInCodePage;
    return EncodeOutcome::Ok;
}

} // namespace packsetup
