#include "setup_command_line.h"

#include "path_text.h"

namespace setupcore {

namespace {

// The first character of the uninstall switch has never been looked at:
// "/uninstall", "-UNINSTALL" and "xUnInStAlL" all select uninstalling.
bool IsUninstallSwitch(const std::string& argument) {
    return !argument.empty() && EqualsIgnoringAsciiCase(argument.substr(1), "uninstall");
}

bool Is(const std::string& argument, const char* name) {
    return EqualsIgnoringAsciiCase(argument, name);
}

// True when `argument` is "<name><value>" (name in any case); the value goes
// to `value`.
bool TakeValue(const std::string& argument, const std::string& name, std::string& value) {
    if (argument.size() < name.size() ||
        !EqualsIgnoringAsciiCase(argument.substr(0, name.size()), name))
        return false;
    value = argument.substr(name.size());
    return true;
}

// "/D="C:\My Dir\"" reaches the program as /D=C:\My Dir" (the C runtime reads
// backslash-quote as a quote): the stray quote is not part of the path.
std::string WithoutStrayQuote(std::string path) {
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

// "X:\..." or "\\server\share...": an install directory that does not hang
// on the current directory of whoever started the run.
bool IsAbsolutePath(const std::string& path) {
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    const bool share = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    return drive || share;
}

// The refusal still goes to the log the command line asked for, wherever
// that stands.
SetupCommandLine Refused(const std::string& argument, const std::vector<std::string>& arguments) {
    SetupCommandLine refused;
    refused.mode = RunMode::BadCommandLine;
    refused.refused = argument;
    std::string log;
    for (const std::string& other : arguments)
        if (TakeValue(other, "/LOG=", log) && !log.empty())
            refused.logFile = log;
    return refused;
}

bool IsUninstallOption(const std::string& argument) {
    std::string log;
    return Is(argument, "/S") || TakeValue(argument, "/LOG=", log);
}

// After the uninstall switch: the installed program's path first when there
// is one (the temporary copy's role), then the options of a silent removal
// in any order, "/S" and "/LOG=<file>". Only an option is never taken for
// the program's path. A silent removal asked for anything else is refused.
SetupCommandLine ParseUninstall(const std::vector<std::string>& rest) {
    SetupCommandLine line;
    const bool hasProgram = !rest.empty() && !IsUninstallOption(rest[0]);
    bool silent = false, unknown = false, logged = false;
    std::string log, refused;
    for (size_t i = hasProgram ? 1 : 0; i < rest.size(); ++i) {
        if (Is(rest[i], "/S")) {
            silent = true;
        } else if (TakeValue(rest[i], "/LOG=", log) && !log.empty()) {
            logged = true;
        } else if (!unknown) {
            unknown = true;
            refused = rest[i];
        }
    }
    if (silent && unknown) // a silent removal that was asked for something it does not know
        return Refused(refused, rest);
    if (unknown || (hasProgram && logged && !silent))
        line.mode = RunMode::Nothing; // as every other form always has
    else if (hasProgram)
        line.mode = silent ? RunMode::SilentRemoveInstallation : RunMode::RemoveInstallation;
    else
        line.mode = silent ? RunMode::SilentHandOffUninstall : RunMode::HandOffUninstall;
    if (line.mode == RunMode::RemoveInstallation || line.mode == RunMode::SilentRemoveInstallation)
        line.installedProgram = rest[0];
    line.logFile = log;
    return line;
}

// The wizard takes the directory and the group as where its pages start and
// ignores everything else, as it always has.
SetupCommandLine ParseWizard(const std::vector<std::string>& arguments) {
    SetupCommandLine line;
    std::string value;
    for (const std::string& argument : arguments) {
        if (TakeValue(argument, "/D=", value))
            line.install.installDir = WithoutStrayQuote(value);
        else if (TakeValue(argument, "/GROUP=", value))
            line.install.groupName = value;
    }
    return line;
}

SetupCommandLine ParseSilent(const std::vector<std::string>& arguments) {
    SetupCommandLine line;
    bool silent = false, progress = false;
    std::string value;
    for (const std::string& argument : arguments) {
        if (Is(argument, "/S")) {
            silent = true;
        } else if (Is(argument, "/SP")) {
            progress = true;
        } else if (TakeValue(argument, "/D=", value)) {
            line.install.installDir = WithoutStrayQuote(value);
            if (!IsAbsolutePath(line.install.installDir))
                return Refused(argument, arguments);
        } else if (TakeValue(argument, "/GROUP=", value)) {
            // An empty group would make the Programs folder itself the group,
            // which the uninstallation would then remove.
            if (value.empty())
                return Refused(argument, arguments);
            line.install.groupName = value;
        } else if (TakeValue(argument, "/LOG=", value)) {
            if (value.empty())
                return Refused(argument, arguments);
            line.logFile = value;
        } else if (Is(argument, "/NODESKTOP")) {
            line.install.desktopShortcut = false;
        } else if (Is(argument, "/NOQUICKLAUNCH")) {
            line.install.quickLaunchShortcut = false;
        } else if (Is(argument, "/AUTOSTART")) {
            line.install.autoStart = true;
        } else if (Is(argument, "/LAUNCH")) {
            line.install.launchProgram = true;
        } else {
            return Refused(argument, arguments);
        }
    }
    if (silent && progress) // two answers to one question
        return Refused("/SP", arguments);
    line.mode = progress ? RunMode::ProgressInstall : RunMode::SilentInstall;
    return line;
}

} // namespace

SetupCommandLine ParseSetupCommandLine(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && IsUninstallSwitch(arguments[0]))
        return ParseUninstall({arguments.begin() + 1, arguments.end()});
    for (const std::string& argument : arguments)
        if (Is(argument, "/S") || Is(argument, "/SP"))
            return ParseSilent(arguments);
    return ParseWizard(arguments);
}

std::string SilentRemovalSuffix(const std::string& logFile) {
    return " /S \"/LOG=" + logFile + "\"";
}

} // namespace setupcore
