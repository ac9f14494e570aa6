#include "packsetup/command_line.h"

#include <cstdlib>
#include <set>

namespace packsetup {
namespace {

// One option: a single value, a repeatable value, or a switch.
struct Option {
    const char* name;
    std::string CommandLine::*value = nullptr;
    std::vector<std::string> CommandLine::*values = nullptr;
    bool CommandLine::*flag = nullptr;
};

const Option kOptions[] = {
    {"--out", &CommandLine::outDir},
    {"--app-exe", &CommandLine::appExe},
    {"--header2", &CommandLine::header2},
    {"--folder-name", &CommandLine::folderName},
    {"--post-install", &CommandLine::postInstall},
    {"--obsolete", nullptr, &CommandLine::obsoleteNames},
    {"--plain", nullptr, nullptr, &CommandLine::allPlain},
    {"--plain-ext", nullptr, &CommandLine::plainExtensions},
    {"--best", nullptr, nullptr, &CommandLine::best},
    {"--license", &CommandLine::license},
    {"--url", &CommandLine::url},
    {"--setup-exe", &CommandLine::setupExe},
    {"--zlib", &CommandLine::zlib},
    {"--codepage"}, // a number: read by TakeCodePage
    {"--version", &CommandLine::version},
    {"--publisher", &CommandLine::publisher},
    {"--quiet", nullptr, nullptr, &CommandLine::quiet},
};

const char* const kRequired[] = {"--out", "--app-exe", "--folder-name"};

const Option* FindOption(const std::string& name) {
    for (const Option& option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

class Parser {
public:
    Parser(const std::vector<std::string>& args, CommandLine& line) : args_(args), line_(line) {}

    ParseOutcome Run(std::string& error) {
        bool optionsEnded = false;
        for (next_ = 0; next_ < args_.size();) {
            const std::string& arg = args_[next_++];
            if (!optionsEnded && (arg == "--help" || arg == "-h"))
                return ParseOutcome::Help;
            bool ok = true;
            if (!optionsEnded && arg == "--")
                optionsEnded = true;
            else if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
                ok = TakeOption(arg, error);
            else
                ok = TakeInput(arg, error);
            if (!ok)
                return ParseOutcome::UsageError;
        }
        return Complete(error) ? ParseOutcome::Run : ParseOutcome::UsageError;
    }

private:
    bool TakeOption(const std::string& arg, std::string& error) {
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        const Option* option = FindOption(name);
        if (!option) {
            error = "unknown option " + name;
            return false;
        }
        if (option->flag) {
            if (equals != std::string::npos) {
                error = name + " takes no value";
                return false;
            }
            line_.*option->flag = true;
            return true;
        }
        std::string value;
        if (!TakeValue(arg, equals, name, value, error))
            return false;
        if (option->values) {
            (line_.*option->values).push_back(value);
            return true;
        }
        if (!given_.insert(name).second) {
            error = name + " is given more than once";
            return false;
        }
        if (!option->value)
            return TakeCodePage(value, error);
        line_.*option->value = value;
        return true;
    }

    bool TakeCodePage(const std::string& value, std::string& error) {
        unsigned long number = std::strtoul(value.c_str(), nullptr, 10);
        if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos ||
            number > 65535) {
            error = "--codepage takes a code page number, such as 1252; not \"" + value + "\"";
            return false;
        }
        line_.codePage = static_cast<unsigned>(number);
        return true;
    }

    // The value follows '=' in the same argument, or is the next argument.
    bool TakeValue(const std::string& arg, size_t equals, const std::string& name,
                   std::string& value, std::string& error) {
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            return true;
        }
        if (next_ == args_.size()) {
            error = name + " needs a value";
            return false;
        }
        value = args_[next_++];
        return true;
    }

    bool TakeInput(const std::string& arg, std::string& error) {
        if (haveInput_) {
            error = "more than one input given: \"" + line_.input + "\" and \"" + arg + "\"";
            return false;
        }
        haveInput_ = true;
        line_.input = arg;
        return true;
    }

    bool Complete(std::string& error) {
        for (const char* name : kRequired)
            if (!given_.count(name)) {
                error = std::string("the option ") + name + " is required";
                return false;
            }
        if (!haveInput_) {
            error = "no input folder or manifest given";
            return false;
        }
        return true;
    }

    const std::vector<std::string>& args_;
    CommandLine& line_;
    size_t next_ = 0;
    std::set<std::string> given_;
    bool haveInput_ = false;
};

} // namespace

ParseOutcome ParseCommandLine(const std::vector<std::string>& args, CommandLine& line,
                              std::string& error) {
    line = CommandLine();
    error.clear();
    return Parser(args, line).Run(error);
}

const char* UsageText() {
    return R"(Usage: packsetup --out DIR --app-exe NAME --folder-name NAME [options] INPUT
       packsetup --help

Builds a setup directory: Setup.dat, the packaged files and the optional
fixed-name files. A packaged file is stored flat under the file-name part of
its packaged name (bin\x.dll as x.dll), unless another packaged file shares
that part in any letter case: then both are stored under their whole names,
in folders below DIR (a\copyright and b\copyright as a/copyright and
b/copyright). The installer looks at the whole name's place first.

INPUT is a folder or a manifest file.
  Folder:   every regular file below it is packaged, named by its path
            relative to the folder with backslashes (bin\x.dll), in order of
            that name.
  Manifest: one directive a line, in the index order of its file lines:
              # comment
              file <source-path> <packaged-name> [plain]
              obsolete <name>
            Fields are separated by blanks; write a field that holds blanks
            in double quotes. Backslashes stand for themselves. A relative
            source path is taken from the manifest's folder. "plain" stores
            that file uncompressed.

Required:
  --out DIR             the setup directory to write (created when missing)
  --app-exe NAME        header 1: the main program, relative to the install
                        directory (at most 255 bytes)
  --folder-name NAME    header 3: default install folder and program group
                        (at most 259 bytes)

Header strings:
  --header2 TEXT        header 2 (at most 255 bytes; default empty)
  --post-install NAME   header 4: program started with " /I" after the
                        wizard (at most 259 bytes; default empty)

Contents:
  --obsolete NAME       a file the installer deletes from the install
                        directory before copying; repeatable, kept in order
                        before those of a manifest
  --plain               store every file uncompressed
  --plain-ext EXT       store files whose name ends in .EXT uncompressed
                        (any letter case, with or without the dot);
                        repeatable
  --best                compress harder (libdeflate's highest level): smaller
                        files, the same zlib streams, a slower build; each
                        file is held in memory while it is compressed
  --license FILE        copied as License.txt
  --url FILE            copied as URL.txt
  --setup-exe FILE      copied as Setup.exe
  --zlib FILE           copied as zlib1.dll

Names:
  --codepage N          the ANSI code page of the machines the package is
                        installed on (default 1252): 874, 932, 936, 949, 950
                        or 1250 to 1258. Names and header strings are given
                        in UTF-8 and stored in that code page; a character it
                        cannot hold is refused.

Identity (optional; for the uninstall entry, stored after the index's last
entry, where every reader of the index stops):
  --version X.Y[.Z[.W]] the version the package installs: two to four
                        numbers of at most 65535
  --publisher NAME      the publisher (at most 255 bytes in the code page,
                        no control character)

Other:
  --quiet               no progress lines (they appear on stderr for packages
                        over 64 MiB)
  --help, -h            this text

Packaged and obsolete names are at most 259 bytes in the code page, use
backslashes between folders, and stay below the install directory: no part
is empty, "." or "..", ends in a dot or a blank, or is a device name (CON,
NUL, COM1, ...); no name starts with a backslash or holds ':', '/', a
control character, or '%' but in one leading %NAME% folder. Files are compressed
unless stored plain; a compressed file may hold at most 2 GiB - 1 bytes, and
an empty file is always stored plain. No two packaged names may be equal in
any letter case, no file may be stored where another's folder goes, and none
may be stored as, or below, Setup.dat, License.txt, URL.txt, Setup.exe or
zlib1.dll at the top of DIR.

Exit status: 0 success, 1 input refused or the package could not be written,
2 usage error.
)";
}

} // namespace packsetup
