// Stands in for an installed program in the system tests: records how it was
// started (its command line and current directory) in a file named after it
// in the directory that SETUP_TEST_LAUNCH_LOG names, and ends.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char logDirectory[MAX_PATH], program[MAX_PATH], current[MAX_PATH];
    if (!::GetEnvironmentVariableA("SETUP_TEST_LAUNCH_LOG", logDirectory, MAX_PATH))
        return 1;
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    ::GetCurrentDirectoryA(MAX_PATH, current);
    std::string name = program;
    name = name.substr(name.find_last_of('\\') + 1);
    std::ofstream log(std::string(logDirectory) + "\\" + name + ".log", std::ios::binary);
    log << ::GetCommandLineA() << "\n" << current << "\n";
    return 0;
}
