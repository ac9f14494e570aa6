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
        {"base with backslash", "C:\\App\\a.txt", "C:\\App\\", true, true},
        {"the base itself", "C:\\App\\", "C:\\App", true, false},
        {"doubled backslash", "C:\\Data\\\\Microsoft\\x.lnk", "C:\\Data\\Microsoft", true, true},
        {"sibling with the base as prefix", "C:\\Apple\\a.txt", "C:\\App", false, false},
        {"parent", "C:\\", "C:\\App", false, false},
        {"dot-dot walks out", "C:\\App\\..\\victim.txt", "C:\\App", false, false},
        {"dot component", "C:\\App\\.\\a.txt", "C:\\App", false, false},
        {"stream or drive inside", "C:\\App\\a.txt:evil", "C:\\App", false, false},
        {"other drive", "D:\\App\\a.txt", "C:\\App", false, false},
        {"relative", "App\\a.txt", "App", false, false},
        {"rooted without drive", "\\App\\a.txt", "\\App", false, false},
        {"verbatim path", "\\\\?\\C:\\App\\a.txt", "C:\\App", false, false},
        {"device path", "\\\\.\\C:\\App\\a.txt", "C:\\App", false, false},
        {"share", "\\\\srv\\share\\App\\a", "\\\\srv\\share\\App", true, true},
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
    EXPECT_EQ(PathComponents("C:\\\x95\x5C..\\x", shiftJisLike).size(), 3u);
    EXPECT_TRUE(PathComponents("C:\\\x95\x5C..\\x", NoLeadBytes).empty());
}
