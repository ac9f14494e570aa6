// The restriction of the DLL search that Setup.exe makes first thing. It
// holds for the whole process and cannot be taken back, so these cases have a
// test program of their own, and run in this order in one test.
#include "current_directory.h"
#include "dll_search.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// zlib1.dll lies beside every test program; a copy of it under a name of its
// own stands for a DLL that someone left beside a downloaded setup program.
// The copy is deleted when the guard goes: the program's directory lies
// outside the test's temporary directory.
class PlantedDll {
public:
    PlantedDll(const std::string& directory, const std::string& name)
        : name_(name), guard_(directory + "\\" + name) {
        EXPECT_TRUE(
            ::CopyFileA((OwnDirectory() + "\\zlib1.dll").c_str(), guard_.Path().c_str(), FALSE))
            << "could not plant " << guard_.Path();
    }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    FileGuard guard_;
};

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH * 4];
    DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

std::string SystemDirectory() {
    char path[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

// Loads `name` the way Windows loads a DLL for a program, by name alone;
// where it was found, or "" with the error when it was not.
std::string LoadedFrom(const std::string& name, DWORD& error) {
    HMODULE module = ::LoadLibraryA(name.c_str());
    error = module ? ERROR_SUCCESS : ::GetLastError();
    if (!module)
        return "";
    const std::string path = ModulePath(module);
    ::FreeLibrary(module);
    return path;
}

// Paths compared as Windows compares them, without regard to case.
std::string Lowered(std::string text) {
    if (!text.empty())
        ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

TEST(DllSearchTest, LoadsFromTheSystemDirectoryAloneOnceRestricted) {
    TempDir temp;
    CurrentDirectoryKeeper keeper;
    ASSERT_TRUE(EnterDirectory(temp.Path()));
    const std::string pid = std::to_string(::GetCurrentProcessId());
    struct Place {
        const char* name;
        std::string directory;
    };
    const Place places[] = {{"program directory", OwnDirectory()},
                            {"current directory", temp.Path()}};

    // Before: each place is searched, so what is planted there is loaded.
    for (const Place& place : places) {
        SCOPED_TRACE(std::string("before, ") + place.name);
        PlantedDll planted(place.directory, "kestrel-before-" + pid + ".dll");
        DWORD error = 0;
        EXPECT_EQ(Lowered(LoadedFrom(planted.Name(), error)),
                  Lowered(place.directory + "\\" + planted.Name()));
    }

    EXPECT_EQ(RestrictDllSearchToSystem(), DllSearch::SystemDirectoryOnly);

    // After: neither place is searched any more.
    for (const Place& place : places) {
        SCOPED_TRACE(std::string("after, ") + place.name);
        PlantedDll planted(place.directory, "kestrel-after-" + pid + ".dll");
        DWORD error = 0;
        EXPECT_EQ(LoadedFrom(planted.Name(), error), "");
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    }
    // DLLs of the system are still found, in the system directory.
    DWORD error = 0;
    const std::string version = LoadedFrom("version.dll", error);
    EXPECT_EQ(Lowered(version), Lowered(SystemDirectory() + "\\version.dll")) << "error " << error;
}
