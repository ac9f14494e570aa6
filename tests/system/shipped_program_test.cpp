// The Setup.exe the tests run is the one a publisher ships: stripped of its
// debug sections, large-address-aware, and importing nothing of zlib's
// compressor.
#include "system_support.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

TEST(ShippedProgram, CarriesNoDebugSectionsIsLargeAddressAwareAndNeverCompresses) {
    const std::string image = ReadFileBytes(OwnDirectory() + "\\Setup.exe");
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, image.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    const size_t fileHeaderAt = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);
    ASSERT_LE(fileHeaderAt + sizeof(IMAGE_FILE_HEADER), image.size());
    IMAGE_FILE_HEADER header;
    std::memcpy(&header, image.data() + fileHeaderAt, sizeof header);
    EXPECT_TRUE(header.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);

    size_t sectionAt = fileHeaderAt + sizeof header + header.SizeOfOptionalHeader;
    for (WORD i = 0; i < header.NumberOfSections; ++i, sectionAt += sizeof(IMAGE_SECTION_HEADER)) {
        ASSERT_LE(sectionAt + sizeof(IMAGE_SECTION_HEADER), image.size());
        IMAGE_SECTION_HEADER section;
        std::memcpy(&section, image.data() + sectionAt, sizeof section);
        std::string name(reinterpret_cast<const char*>(section.Name),
                         strnlen(reinterpret_cast<const char*>(section.Name), 8));
        // A name past eight characters (".debug_info") is stored as "/offset"
        // into the string table behind the symbols.
        if (!name.empty() && name[0] == '/') {
            const size_t at = header.PointerToSymbolTable + header.NumberOfSymbols * 18 +
                              std::strtoul(name.c_str() + 1, nullptr, 10);
            ASSERT_LT(at, image.size()) << name;
            name = image.c_str() + at;
        }
        EXPECT_NE(name.compare(0, 6, ".debug"), 0) << name;
    }
    EXPECT_EQ(image.find("deflate"), std::string::npos) << "an import of zlib's compressor";
}
