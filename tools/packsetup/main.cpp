// packsetup: builds a ready setup directory from a folder or a manifest.
#include "packsetup/command_line.h"
#include "packsetup/package_input.h"
#include "packsetup/package_writer.h"
#include "packsetup/utf8_arguments.h"

#include <exception>
#include <iostream>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

int Refuse(const std::string& error) {
    std::cerr << "packsetup: " << error << "\n";
    return kExitRefused;
}

int Run(const std::vector<std::string>& args) {
    packsetup::CommandLine line;
    std::string error;
    switch (packsetup::ParseCommandLine(args, line, error)) {
    case packsetup::ParseOutcome::Help:
        std::cout << packsetup::UsageText();
        return kExitSuccess;
    case packsetup::ParseOutcome::UsageError:
        std::cerr << "packsetup: " << error << "\nTry 'packsetup --help' for more information.\n";
        return kExitUsage;
    case packsetup::ParseOutcome::Run:
        break;
    }
    packsetup::PackagePlan plan;
    if (!packsetup::AssemblePlan(line, plan, error))
        return Refuse(error);
    packsetup::ProgressSettings progress;
    progress.out = line.quiet ? nullptr : &std::cerr;
    if (!packsetup::BuildPackage(plan, error, progress))
        return Refuse(error);
    return kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(packsetup::Utf8Arguments(argc, argv));
    } catch (const std::exception& e) {
        return Refuse(e.what());
    }
}
