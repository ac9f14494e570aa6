#include "canonical_path.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

struct Row {
    const char* name;
    std::string path;
    const char* canonical; // null when refused
    PathFault fault;
};

// The forms an attacker or a careless caller hands over, each with the one
// form every check and every use then shares.
const Row kRows[] = {
    {"plain", "C:\\Apps\\Demo", "C:\\Apps\\Demo", PathFault::None},
    {"drive root", "C:\\", "C:\\", PathFault::None},
    {"root with a slash", "C:/", "C:\\", PathFault::None},
    {"trailing backslash", "C:\\Apps\\Demo\\", "C:\\Apps\\Demo", PathFault::None},
    {"forward slashes", "C:/Apps/Demo/a.txt", "C:\\Apps\\Demo\\a.txt", PathFault::None},
    {"doubled separators", "C:\\\\Apps//\\Demo", "C:\\Apps\\Demo", PathFault::None},
    {"dot parts", "C:\\.\\Apps\\.\\Demo\\.", "C:\\Apps\\Demo", PathFault::None},
    {"dot-dot inside", "C:\\Apps\\x\\..\\..\\Apps\\R", "C:\\Apps\\R", PathFault::None},
    {"dot-dot after a slash climbs out of the install directory",
     "C:\\Apps\\Demo\\x/../../../users/root/Documents/precious.txt",
     "C:\\users\\root\\Documents\\precious.txt", PathFault::None},
    {"share", "\\\\srv\\share\\App\\", "\\\\srv\\share\\App", PathFault::None},
    {"share with slashes", "//srv/share/App", "\\\\srv\\share\\App", PathFault::None},
    {"share root", "\\\\srv\\share", "\\\\srv\\share", PathFault::None},
    {"lower-case drive kept", "c:\\x", "c:\\x", PathFault::None},
    {"blank inside a name", "C:\\Program Files\\A B", "C:\\Program Files\\A B", PathFault::None},
    {"empty", "", nullptr, PathFault::Empty},
    {"relative", "Apps\\Demo", nullptr, PathFault::NotAbsolute},
    {"relative with a slash", "p3/../../../x", nullptr, PathFault::NotAbsolute},
    {"rooted on no drive", "\\Apps", nullptr, PathFault::NotAbsolute},
    {"drive-relative", "C:Apps", nullptr, PathFault::NotAbsolute},
    {"bare drive", "C:", nullptr, PathFault::NotAbsolute},
    {"verbatim", "\\\\?\\C:\\Apps\\Q", nullptr, PathFault::VerbatimOrDevice},
    {"verbatim with slashes", "//?/C:/Apps/Q", nullptr, PathFault::VerbatimOrDevice},
    {"device", "\\\\.\\C:\\Apps", nullptr, PathFault::VerbatimOrDevice},
    {"device namespace alone", "\\\\.", nullptr, PathFault::VerbatimOrDevice},
    {"object manager prefix", "\\??\\C:\\Apps", nullptr, PathFault::VerbatimOrDevice},
    {"server without share", "\\\\srv", nullptr, PathFault::NoShareName},
    {"server and empty share", "\\\\srv\\", nullptr, PathFault::NoShareName},
    {"dot-dot as the server", "\\\\..\\share\\x", nullptr, PathFault::ClimbsAboveRoot},
    {"climbs above the drive", "C:\\Apps\\..\\..\\x", nullptr, PathFault::ClimbsAboveRoot},
    {"climbs above the share", "\\\\srv\\share\\..\\other", nullptr, PathFault::ClimbsAboveRoot},
    {"trailing dot", "C:\\Apps\\S.", nullptr, PathFault::EndsInDotOrBlank},
    {"trailing blank", "C:\\Apps\\S ", nullptr, PathFault::EndsInDotOrBlank},
    {"three dots", "C:\\Apps\\...\\x", nullptr, PathFault::EndsInDotOrBlank},
    {"stream", "C:\\Apps\\a.txt:evil", nullptr, PathFault::Colon},
    {"second drive inside", "C:\\Apps\\D:\\x", nullptr, PathFault::Colon},
    {"control character",
     "C:\\Apps\\a\x01"
     "b",
     nullptr, PathFault::ControlCharacter},
    {"NUL inside", std::string("C:\\Apps\\a\0b", 11), nullptr, PathFault::ControlCharacter},
    {"wildcard", "C:\\Apps\\*", nullptr, PathFault::ReservedCharacter},
    {"angle bracket", "C:\\bad<name>\\App", nullptr, PathFault::ReservedCharacter},
    {"device name", "C:\\Apps\\NUL.txt", nullptr, PathFault::DeviceName},
    {"device name as a folder", "C:\\Apps\\com1\\x", nullptr, PathFault::DeviceName},
};

} // namespace

TEST(CanonicalPath, EachFormHasOneCanonicalFormOrIsRefusedWithItsReason) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const CanonicalPath result = Canonicalize(row.path, NoLeadBytes);
        EXPECT_EQ(result.fault, row.fault);
        EXPECT_EQ(result.path, row.canonical ? row.canonical : "");
        if (row.canonical) {
            EXPECT_TRUE(IsCanonical(row.canonical, NoLeadBytes)) << "the result is a fixed point";
            EXPECT_EQ(IsCanonical(row.path, NoLeadBytes), row.path == row.canonical);
        }
    }
}

TEST(CanonicalPath, RelativeNamesLieBelowTheirBaseButCanClimbOutOfIt) {
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps\\Demo", "docs\\a.txt", NoLeadBytes).path,
              "C:\\Apps\\Demo\\docs\\a.txt");
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps\\Demo", "p3/../../../users/p2.txt", NoLeadBytes).path,
              "C:\\users\\p2.txt");
    EXPECT_EQ(CanonicalizeFrom("C:\\", "a", NoLeadBytes).path, "C:\\a");
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps", "D:\\x", NoLeadBytes).path, "D:\\x");
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps", "\\x", NoLeadBytes).fault, PathFault::NotAbsolute);
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps", "D:x", NoLeadBytes).fault, PathFault::NotAbsolute);
    EXPECT_EQ(CanonicalizeFrom("C:\\Apps", "..\\..\\x", NoLeadBytes).fault,
              PathFault::ClimbsAboveRoot);
}

TEST(CanonicalPath, ATrailByteThatLooksLikeABackslashIsNoSeparator) {
    auto shiftJisLike = [](unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; };
    EXPECT_EQ(Canonicalize("C:\\\x95\x5C\\x", shiftJisLike).path, "C:\\\x95\x5C\\x");
    EXPECT_EQ(Canonicalize("C:\\x\x95", shiftJisLike).fault, PathFault::IncompleteCharacter);
    // 0x7C ('|') as a trail byte is part of a character, not a reserved one.
    EXPECT_TRUE(Canonicalize("C:\\\x95|", shiftJisLike));
}
