// The manifest format: file and obsolete lines in their order, quoting,
// comments and Windows line ends, and each malformed line named by number.
#include "packsetup/manifest.h"

#include <gtest/gtest.h>

using namespace packsetup;

namespace {

using Strings = std::vector<std::string>;

bool Parse(const std::string& text, ManifestContent& content, std::string& error) {
    return ParseManifest(text, "m.txt", "/base", content, error);
}

// Each entry as "source -> name", with " plain" where it is stored plain.
Strings Listed(const ManifestContent& content) {
    Strings listed;
    for (const PackageEntry& entry : content.entries)
        listed.push_back(entry.source.string() + " -> " + entry.name +
                         (entry.plain ? " plain" : ""));
    return listed;
}

TEST(Manifest, ReadsFileAndObsoleteLinesInTheirOrder) {
    const std::string text = "\xEF\xBB\xBF# the package\r\n"
                             "file Kestrel.exe Kestrel.exe\r\n"
                             "\r\n"
                             "   # indented comment with a \" quote\n"
                             "file \"docs/Read Me.txt\" \"Docs\\Read Me.txt\" plain\n"
                             "obsolete \"Old Help.hlp\"\n"
                             "file\t/abs/a.dll\tbin\\a.dll\n"
                             "obsolete old.dll";
    ManifestContent content;
    std::string error;
    ASSERT_TRUE(Parse(text, content, error)) << error;
    EXPECT_EQ(Listed(content), (Strings{"/base/Kestrel.exe -> Kestrel.exe",
                                        "/base/docs/Read Me.txt -> Docs\\Read Me.txt plain",
                                        "/abs/a.dll -> bin\\a.dll"}));
    EXPECT_EQ(content.obsoleteNames, (Strings{"Old Help.hlp", "old.dll"}));
}

TEST(Manifest, RefusesAMalformedLineNamingItsNumber) {
    struct Case {
        const char* what;
        const char* text;
        const char* message;
    };
    for (const Case& c : {
             Case{"an unknown directive", "file a a\nfiel b b\n",
                  "m.txt line 2: unknown directive \"fiel\""},
             Case{"a file without a name", "file only-source", "m.txt line 1: expected: file"},
             Case{"a file with a word other than plain", "file a b compressed", "expected: file"},
             Case{"a file with a field after plain", "file a b plain extra", "expected: file"},
             Case{"obsolete without a name", "obsolete", "m.txt line 1: expected: obsolete"},
             Case{"obsolete with two names", "obsolete a b", "expected: obsolete"},
             Case{"an unclosed quote", "file \"a b.txt a.txt\n",
                  "m.txt line 1: a quoted field has no closing quote"},
             Case{"text after a closing quote", "file \"a\"b c\n",
                  "m.txt line 1: a closing quote is followed by more text"},
         }) {
        SCOPED_TRACE(c.what);
        ManifestContent content;
        std::string error;
        EXPECT_FALSE(Parse(c.text, content, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

} // namespace
