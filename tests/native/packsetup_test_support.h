// Shared by the package builder's tests: a fresh input and output directory
// for each test, plans built from files placed there, and a build that
// reports its failure at the caller's line.
#pragma once

#include "packsetup/command_line.h"
#include "packsetup/package_plan.h"
#include "packsetup/package_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace packsetup_test {

namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Creates the missing folders on the way.
inline void WriteAll(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Text that compresses, with enough variation that a broken stream shows.
inline std::string SampleBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = (i % 97 < 60) ? static_cast<char>('a' + i % 26) : static_cast<char>(state >> 24);
    }
    return bytes;
}

// Sources go below in_, the package into out_; both lie in a directory of
// the test's own below the system's temporary directory.
class PackageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Unique even when test programs run side by side.
        static std::atomic<unsigned> counter{0};
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = fs::temp_directory_path() /
                ("packsetup-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        fs::create_directories(root_);
        in_ = root_ / "in";
        out_ = root_ / "out";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path AddInput(const std::string& relative, const std::string& bytes) {
        WriteAll(in_ / relative, bytes);
        return in_ / relative;
    }
    packsetup::PackageEntry Entry(const std::string& relative, const std::string& name,
                                  const std::string& bytes, bool plain = false) {
        return packsetup::PackageEntry{AddInput(relative, bytes), name, plain};
    }
    packsetup::PackagePlan BasePlan() const {
        packsetup::PackagePlan plan;
        plan.appExe = "Kestrel.exe";
        plan.folderName = "Kestrel App";
        plan.outDir = out_;
        return plan;
    }
    // The command line of a build from `input` into out_.
    packsetup::CommandLine Line(const fs::path& input) const {
        packsetup::CommandLine line;
        line.input = input.u8string();
        line.outDir = out_.u8string();
        line.appExe = "Kestrel.exe";
        line.folderName = "Kestrel App";
        return line;
    }
    // The smallest package that builds.
    packsetup::PackagePlan OneFilePlan() {
        packsetup::PackagePlan plan = BasePlan();
        plan.entries.push_back(Entry("Kestrel.exe", "Kestrel.exe", "program"));
        return plan;
    }

    // For ASSERT_TRUE(Built(plan)): a failure shows the builder's message.
    static ::testing::AssertionResult Built(const packsetup::PackagePlan& plan) {
        std::string error;
        if (!packsetup::BuildPackage(plan, error) || !error.empty())
            return ::testing::AssertionFailure() << "message: " << error;
        return ::testing::AssertionSuccess();
    }

    fs::path root_;
    fs::path in_;
    fs::path out_;
};

} // namespace packsetup_test
