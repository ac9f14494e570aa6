#include "child_process.h"

#include "bench_support.h"
#include "method_runs.h"
#include "test_support.h"
#include "timed_process.h"

#include <algorithm>
#include <fstream>

namespace bench {

namespace {

// The result file: one line of figures, then the error text on a line of its
// own. A file rather than a pipe, which Wine's services would hold open.
void WriteResult(const std::string& path, const RunResult& result) {
    // A message box's text may span lines; the error keeps to one, as a table cell must.
    std::string error = result.error;
    std::replace_if(
        error.begin(), error.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    std::ofstream out(path, std::ios::trunc);
    out.precision(9);
    out << (result.ok ? "ok" : "failed") << ' ' << result.seconds << ' ' << result.checkSeconds
        << ' ' << result.bytes << ' ' << result.files << ' ' << result.peakBefore << ' '
        << result.peakAfter << '\n'
        << error << '\n';
}

// A failed result saying so when the child left none.
RunResult ReadResult(const std::string& path) {
    RunResult result;
    std::ifstream in(path);
    std::string status;
    if (!(in >> status >> result.seconds >> result.checkSeconds >> result.bytes >> result.files >>
          result.peakBefore >> result.peakAfter)) {
        result.error = "the child left no result";
        return result;
    }
    result.ok = status == "ok";
    in >> std::ws;
    std::getline(in, result.error);
    return result;
}

std::string OwnPath() {
    char path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        Die("cannot find the program's own path");
    return std::string(path, length);
}

void LayOutInput(const Method& method, const Options& options, const WorkPaths& paths) {
    MakeFreshDirectory(paths.source);
    MakeFreshDirectory(paths.install);
    if (!method.readsPackage)
        return;
    const std::string packages = PackageDirectory(paths, method.files);
    for (const PlannedFile& file : FilesOf(method.files, options)) {
        const std::string from = AppendPath(packages, file.package);
        const std::string to = AppendPath(paths.source, file.package);
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
            Die("cannot copy %s to %s (error %lu)", from.c_str(), to.c_str(), ::GetLastError());
    }
}

// What the copy run showed before it gave up, for the report.
std::string FirstShown(const ScriptedUserInterface& ui) {
    if (!ui.boxes.empty())
        return ": " + ui.boxes.front().text;
    if (!ui.dialogs.empty())
        return ": (dialog " + std::to_string(ui.dialogs.front()) + ")";
    return "";
}

} // namespace

RunResult RunInChild(const Method& method, const Options& options, const WorkPaths& paths) {
    LayOutInput(method, options, paths);
    ::DeleteFileA(paths.result.c_str());

    const std::string program = OwnPath();
    const std::string command = "\"" + program + "\" --run " + method.name + " \"" + paths.work +
                                "\" " + SizeArguments(options);
    const ProcessRun child = RunTimedProcess(program, command);
    if (!child.started)
        Die("starting %s: %s", program.c_str(), child.error.c_str());

    RunResult result = ReadResult(paths.result);
    result.processSeconds = child.seconds;
    result.peakSeenByParent = child.peakAfterExit;
    result.peakSampled = child.peakWhileRunning;
    if (child.exitCode != 0 && result.error.empty())
        result.error = "the child ended with code " + std::to_string(child.exitCode);
    if (child.exitCode != 0)
        result.ok = false;
    RemoveTree(paths.source);
    RemoveTree(paths.install);
    return result;
}

int ChildMain(const std::string& methodName, const Options& options, const WorkPaths& paths) {
    AtDie([&paths](const std::string& message) {
        RunResult failed;
        failed.error = message;
        WriteResult(paths.result, failed);
    });
    RunResult result;
    result.peakBefore = PeakWorkingSet(::GetCurrentProcess());
    const Method* method = FindMethod(methodName);
    if (!method)
        Die("unknown method %s", methodName.c_str());
    // No box or dialog may wait for a user who is not there. A copy run that
    // cannot create a target asks whether to try again, for which the default
    // answer (OK) would loop for ever: Cancel ends it.
    ScriptedUserInterface ui;
    ui.answers.push_back(IDCANCEL);
    const std::vector<PlannedFile> files = FilesOf(method->files, options);

    DoWork(*method, WorkInput{paths, files}, result);
    result.peakAfter = PeakWorkingSet(::GetCurrentProcess());
    if (!result.ok)
        result.error += FirstShown(ui);
    WriteResult(paths.result, result);
    return result.ok ? 0 : 1;
}

} // namespace bench
