#include "installation_report.h"

#include "file_listing.h"
#include "install_record_format.h"
#include "path_text.h"
#include "registry_values.h"
#include "shell_link.h"

#include <windows.h>

#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>

namespace {

// Named after the installer program, Setup.exe, which installs itself beside it.
const char kRecordName[] = "SetupInfo.dat";

bool ReadRecord(const std::string& path, std::vector<std::string>& items) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const setupcore::RecordParseResult parsed = setupcore::DecodeInstallRecord(
        reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!parsed.Ok())
        return false;
    items = parsed.record.items;
    return true;
}

bool IsShortcut(const std::string& item) {
    return item.size() > 4 &&
           setupcore::EqualsIgnoringAsciiCase(item.substr(item.size() - 4), ".lnk");
}

void PrintFiles(const std::string& directory) {
    std::cout << "   files in " << directory << ":" << std::endl;
    for (const ListedFile& file : ListFiles(directory)) {
        std::cout << "      " << std::left << std::setw(24) << file.relativePath;
        if (file.directory)
            std::cout << "(directory)" << std::endl;
        else
            std::cout << std::right << std::setw(8) << file.size << " bytes" << std::endl;
    }
}

void PrintShortcut(const std::string& link) {
    std::cout << "      " << link << std::endl;
    ShortcutContents content;
    if (!PathExists(link)) {
        std::cout << "         (not there)" << std::endl;
        return;
    }
    if (FAILED(ReadShortcut(link, content))) {
        std::cout << "         (cannot be read)" << std::endl;
        return;
    }
    std::cout << "         target:            " << content.target << std::endl
              << "         arguments:         "
              << (content.arguments.empty() ? "(none)" : "\"" + content.arguments + "\"")
              << std::endl
              << "         working directory: " << content.workingDirectory << std::endl
              << "         icon:              " << content.iconPath << ", index "
              << content.iconIndex << std::endl;
}

void PrintRegistry(const std::string& key) {
    std::cout << "   registry HKEY_CURRENT_USER\\" << key << ":" << std::endl;
    const std::vector<RegistryValue> values = ReadValues(HKEY_CURRENT_USER, key);
    if (values.empty())
        std::cout << "      (no such key, or no values)" << std::endl;
    for (const RegistryValue& value : values)
        std::cout << "      " << std::left << std::setw(21) << value.name << std::setw(10)
                  << value.type << value.data << std::endl;
}

} // namespace

bool ReportInstallation(Installation& installation) {
    if (!IsDirectory(installation.installDir)) {
        std::cout << "   no install directory " << installation.installDir << std::endl;
        return false;
    }
    PrintFiles(installation.installDir);
    const std::string record = installation.installDir + "\\" + kRecordName;
    const bool recordRead = ReadRecord(record, installation.recordItems);
    if (!recordRead)
        std::cout << "   the install record " << record << " cannot be read" << std::endl;
    else
        std::cout << "   the install record lists " << installation.recordItems.size()
                  << " items for the uninstaller" << std::endl;
    std::cout << "   shortcuts:" << std::endl;
    for (const std::string& item : installation.recordItems)
        if (IsShortcut(item))
            PrintShortcut(item);
    PrintRegistry(installation.uninstallKey);
    return recordRead;
}

void ReportSetupDirectory(const std::string& setupDirectory) {
    std::string files;
    for (const ListedFile& file : ListFiles(setupDirectory))
        files += " " + file.relativePath;
    std::cout << "   the setup directory now holds:" << (files.empty() ? " nothing" : files)
              << std::endl;
}
