#include "setup_command_line.h"

#include "path_text.h"

#include <algorithm>

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
    return Is(argument, "/S") || Is(argument, "/NORESTART") || TakeValue(argument, "/LOG=", log);
}

// After the uninstall switch: the installed program's path first when there
// is one (the temporary copy's role), then the options of a silent removal
// in any order, "/S", "/NORESTART" and "/LOG=<file>". Only an option is never taken for
// the program's path. A silent removal asked for anything else is refused.
SetupCommandLine ParseUninstall(const std::vector<std::string>& rest) {
    SetupCommandLine line;
    const bool hasProgram = !rest.empty() && !IsUninstallOption(rest[0]);
    bool silent = false, unknown = false, logged = false;
    std::string log, refused;
    for (size_t i = hasProgram ? 1 : 0; i < rest.size(); ++i) {
        if (Is(rest[i], "/S")) {
            silent = true;
        } else if (Is(rest[i], "/NORESTART")) {
            line.noRestart = true;
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

// The choices an unattended installation takes both ways: on, or off.
struct ChoiceSwitch {
    const char* name;
    bool InstallChoices::*choice;
    bool StatedChoices::*stated;
    bool value;
};

constexpr ChoiceSwitch kChoiceSwitches[] = {
    {"/DESKTOP", &InstallChoices::desktopShortcut, &StatedChoices::desktopShortcut, true},
    {"/NODESKTOP", &InstallChoices::desktopShortcut, &StatedChoices::desktopShortcut, false},
    {"/QUICKLAUNCH", &InstallChoices::quickLaunchShortcut, &StatedChoices::quickLaunchShortcut,
     true},
    {"/NOQUICKLAUNCH", &InstallChoices::quickLaunchShortcut, &StatedChoices::quickLaunchShortcut,
     false},
    {"/AUTOSTART", &InstallChoices::autoStart, &StatedChoices::autoStart, true},
    {"/NOAUTOSTART", &InstallChoices::autoStart, &StatedChoices::autoStart, false},
    {"/CURRENTUSER", &InstallChoices::perUser, &StatedChoices::perUser, true},
    {"/ALLUSERS", &InstallChoices::perUser, &StatedChoices::perUser, false},
};

bool TakeSwitch(const std::string& argument, SetupCommandLine& line) {
    for (const ChoiceSwitch& choice : kChoiceSwitches) {
        if (!Is(argument, choice.name))
            continue;
        line.install.*choice.choice = choice.value;
        line.stated.*choice.stated = true;
        return true;
    }
    return false;
}

// The wizard takes the directory and the group as where its pages start and
// ignores everything else, as it always has.
SetupCommandLine ParseWizard(const std::vector<std::string>& arguments) {
    SetupCommandLine line;
    std::string value;
    for (const std::string& argument : arguments) {
        if (TakeValue(argument, "/D=", value)) {
            line.install.installDir = WithoutStrayQuote(value);
            line.stated.installDir = true;
        } else if (TakeValue(argument, "/GROUP=", value)) {
            line.install.groupName = value;
            line.stated.groupName = true;
        } else if (Is(argument, "/NORESTART")) {
            line.noRestart = true; // the wizard never restarts either
        } else if (Is(argument, "/CURRENTUSER") || Is(argument, "/ALLUSERS")) {
            TakeSwitch(argument, line); // for whom: where the pages start
        }
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
            line.stated.installDir = true;
            if (!IsAbsolutePath(line.install.installDir))
                return Refused(argument, arguments);
        } else if (TakeValue(argument, "/GROUP=", value)) {
            // An empty group would make the Programs folder itself the group,
            // which the uninstallation would then remove.
            if (value.empty())
                return Refused(argument, arguments);
            line.install.groupName = value;
            line.stated.groupName = true;
        } else if (TakeValue(argument, "/LOG=", value)) {
            if (value.empty())
                return Refused(argument, arguments);
            line.logFile = value;
        } else if (TakeSwitch(argument, line)) {
        } else if (Is(argument, "/LAUNCH")) {
            line.install.launchProgram = true;
        } else if (Is(argument, "/NORESTART")) {
            line.noRestart = true;
        } else {
            return Refused(argument, arguments);
        }
    }
    if (silent && progress) // two answers to one question
        return Refused("/SP", arguments);
    line.mode = progress ? RunMode::ProgressInstall : RunMode::SilentInstall;
    return line;
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

// A word of quote-free text as the C runtime cuts it (at blanks, nothing
// else changed), and where it starts in the raw line.
struct Word {
    size_t at;
    std::string text;
};

std::vector<Word> Words(const std::string& line, size_t from) {
    std::vector<Word> words;
    size_t at = from;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        size_t end = at;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        if (end > at)
            words.push_back({at, line.substr(at, end - at)});
        at = end;
    }
    return words;
}

// The words that an unquoted "/D=" ending the raw line spans, "/D=" first;
// none when the line does not end so. Only the text after the line's last
// quote is looked at, so the "/D=" stands outside any quoted argument. It
// must be the last word there that starts with "/": no directory can hold a
// name that starts with "/" (a separator), so such a word is another option
// and the directory ends before it.
std::vector<Word> TrailingDirectoryWords(const std::string& rawCommandLine) {
    const size_t lastQuote = rawCommandLine.rfind('"');
    const size_t from = lastQuote == std::string::npos ? 0 : lastQuote + 1;
    const std::vector<Word> words = Words(rawCommandLine, from);
    for (size_t i = words.size(); i-- > 0;) {
        if (words[i].text[0] != '/')
            continue;
        std::string value;
        // Glued to the quoted text before it ("x"/D=...), it is no word of its own.
        const bool ownWord = words[i].at > 0 && IsBlank(rawCommandLine[words[i].at - 1]);
        if (!ownWord || !TakeValue(words[i].text, "/D=", value))
            return {};
        return {words.begin() + static_cast<std::ptrdiff_t>(i), words.end()};
    }
    return {};
}

// `arguments` with the words of an unquoted trailing "/D=" joined again into
// one "/D=<dir>", blanks as the raw line has them (the trailing ones
// dropped). Only when the runtime's last arguments are exactly those words:
// otherwise the arguments stay as the runtime split them.
std::vector<std::string> WithTrailingDirectoryJoined(std::vector<std::string> arguments,
                                                     const std::string& rawCommandLine) {
    const std::vector<Word> words = TrailingDirectoryWords(rawCommandLine);
    if (words.size() < 2 || words.size() > arguments.size() ||
        !std::equal(
            words.begin(), words.end(), arguments.end() - static_cast<std::ptrdiff_t>(words.size()),
            [](const Word& word, const std::string& argument) { return word.text == argument; }))
        return arguments;
    const Word& last = words.back();
    const std::string joined =
        rawCommandLine.substr(words.front().at, last.at + last.text.size() - words.front().at);
    arguments.erase(arguments.end() - static_cast<std::ptrdiff_t>(words.size()), arguments.end());
    arguments.push_back(joined);
    return arguments;
}

} // namespace

SetupCommandLine ParseSetupCommandLine(const std::vector<std::string>& arguments,
                                       const std::string& rawCommandLine) {
    if (!arguments.empty() && IsUninstallSwitch(arguments[0]))
        return ParseUninstall({arguments.begin() + 1, arguments.end()});
    const std::vector<std::string> joined = WithTrailingDirectoryJoined(arguments, rawCommandLine);
    for (const std::string& argument : joined)
        if (Is(argument, "/S") || Is(argument, "/SP"))
            return ParseSilent(joined);
    return ParseWizard(joined);
}

std::string SilentRemovalSuffix(const std::string& logFile) {
    return logFile.empty() ? " /S" : " /S \"/LOG=" + logFile + "\"";
}

} // namespace setupcore
