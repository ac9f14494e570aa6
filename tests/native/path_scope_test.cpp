#include "path_scope.h"

#include <gtest/gtest.h>

using namespace setupcore;

TEST(PathScope, ItemsWithinTheirDirectoryAndThoseThatOnlyLookSo) {
    const struct {
        const char* name;
        const char* path;
        const char* base;
        bool within;
        bool strictlyBelow;
    } rows[] = {
        {"file below", "C:\\App\\a.txt", "C:\\App", true, true},
        {"deeper, other case", "c:\\app\\Sub\\B.TXT", "C:\\App", true, true},
        {"the base itself", "C:\\App", "C:\\App", true, false},
        {"below a drive's root", "C:\\App", "C:\\", true, true},
        {"sibling with the base as prefix", "C:\\Apple\\a.txt", "C:\\App", false, false},
        {"parent", "C:\\", "C:\\App", false, false},
        {"other drive", "D:\\App\\a.txt", "C:\\App", false, false},
        {"share", "\\\\srv\\share\\App\\a", "\\\\srv\\share\\App", true, true},
        {"other share", "\\\\srv\\other\\App\\a", "\\\\srv\\share", false, false},
        // Anything not canonical is within nothing, whichever way it reads:
        // the check must see the one form the file system call will use.
        {"base with backslash", "C:\\App\\a.txt", "C:\\App\\", false, false},
        {"doubled backslash", "C:\\App\\\\a.txt", "C:\\App", false, false},
        {"dot-dot walks out", "C:\\App\\..\\victim.txt", "C:\\App", false, false},
        {"dot-dot after a slash", "C:\\App\\x/../../victim.txt", "C:\\App", false, false},
        {"slash that stays inside", "C:\\App/a.txt", "C:\\App", false, false},
        {"dot component", "C:\\App\\.\\a.txt", "C:\\App", false, false},
        {"stream or drive inside", "C:\\App\\a.txt:evil", "C:\\App", false, false},
        {"trailing dot", "C:\\App\\a.", "C:\\App", false, false},
        {"relative", "App\\a.txt", "App", false, false},
        {"rooted without drive", "\\App\\a.txt", "\\App", false, false},
        {"verbatim path", "\\\\?\\C:\\App\\a.txt", "C:\\App", false, false},
        {"device path", "\\\\.\\C:\\App\\a.txt", "C:\\App", false, false},
        {"empty", "", "C:\\App", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsWithin(row.path, row.base, NoLeadBytes), row.within);
        EXPECT_EQ(IsStrictlyBelow(row.path, row.base, NoLeadBytes), row.strictlyBelow);
    }
}

TEST(PathScope, ATrailByteThatLooksLikeABackslashSplitsNothing) {
    // 0x95 0x5C is one double-byte character in such a code page.
    auto shiftJisLike = [](unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; };
    EXPECT_EQ(PathComponents("C:\\\x95\x5C\\x", shiftJisLike).size(), 3u);
    EXPECT_TRUE(IsWithin("C:\\\x95\x5C\\x", "C:\\\x95\x5C", shiftJisLike));
    // Read byte by byte, the same text holds an empty part: not canonical.
    EXPECT_TRUE(PathComponents("C:\\\x95\x5C\\x", NoLeadBytes).empty());
}
