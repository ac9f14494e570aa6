#include "install_wizard.h"

#include "exit_codes.h"
#include "install_choices.h"
#include "install_defaults.h"
#include "installation.h"
#include "installed_version.h"
#include "path_helpers.h"
#include "setup_app.h"
#include "setup_command_line.h"
#include "setup_context.h"
#include "setup_pg_dir.h"
#include "setup_pg_group.h"
#include "setup_pg_license.h"
#include "unique_handle.h"

#include <fcntl.h>
#include <io.h>

#include <memory>

namespace {

struct CrtFileTraits {
    using pointer = int;
    static pointer invalid() noexcept { return -1; }
    static void close(pointer fd) noexcept { ::_close(fd); }
};
using UniqueCrtFile = UniqueHandle<CrtFileTraits>;

// The whole file, NUL-terminated, bytes as stored (binary: carriage returns
// stay); null when it cannot be opened or measured.
std::unique_ptr<char[]> ReadLicenseText(const std::string& path) {
    UniqueCrtFile file(::_open(path.c_str(), _O_RDONLY | _O_BINARY));
    if (!file)
        return nullptr;
    long length = ::_filelength(file.get());
    if (length < 0)
        return nullptr;
    // Zero-filled, so a short read still ends in a NUL at the file's length.
    auto text = std::make_unique<char[]>(static_cast<size_t>(length) + 1);
    ::_read(file.get(), text.get(), static_cast<unsigned>(length));
    return text;
}

// Runs the wizard modally as the application's main window; returns the
// exit code: done only when it ended by Install and the installation copied
// the package.
int RunWizardToInstallation(SetupContext& context, const InstallChoices& presets,
                            const setupcore::StatedChoices& stated) {
    InstallChoices choices;
    choices.installDir = presets.installDir;
    choices.groupName = presets.groupName;
    choices.perUser = presets.perUser;
    choices.programsFolder = ProgramsFolder(choices.perUser);
    // Over an installed version the pages propose its directory, its group
    // and its settings, where the command line did not say otherwise.
    if (context.installed)
        choices = ChoicesForUpdate(choices, stated, *context.installed);
    CPropertySheet sheet;
    CSetupPgLicense license;
    CSetupPgDir dir(context, choices);
    CSetupPgGroup group(context, choices);
    AssembleInstallWizard(sheet, license, dir, group, context.SetupDirectory());
    AfxGetApp()->m_pMainWnd = &sheet;
    if (sheet.DoModal() != ID_WIZFINISH)
        return kExitCancelled;
    // Finish also closes the wizard after a copy run that failed and was undone.
    return group.m_bInstalled ? kExitDone : ExitCodeFor(group.m_outcome);
}

} // namespace

void AssembleInstallWizard(CPropertySheet& sheet, CSetupPgLicense& license, CSetupPgDir& dir,
                           CSetupPgGroup& group, const std::string& setupDirectory) {
    license.m_pszLicenseText = ReadLicenseText(AppendPath(setupDirectory, "License.txt"));
    if (license.m_pszLicenseText)
        sheet.AddPage(&license);
    sheet.AddPage(&dir);
    sheet.AddPage(&group);
    sheet.m_psh.dwFlags |= PSH_WIZARD;
}

int RunInstallWizard(SetupContext& context, const InstallChoices& presets,
                     const setupcore::StatedChoices& stated) {
    // The pages and the sheet are gone before the post-install program
    // starts; what they decided is in the installation.
    const int exitCode = RunWizardToInstallation(context, presets, stated);
    if (exitCode == kExitDone)
        StartPostInstallProgram(context); // nothing to tell the user if it fails
    return exitCode;
}
