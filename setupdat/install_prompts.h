// The questions the installation asks while it runs. The engine is given an
// implementation: the wizard's shows its dialogs, a test's answers from a
// script.
#pragma once

#include <string>

class InstallPrompts {
public:
    virtual ~InstallPrompts() = default;
    // `target` cannot be replaced while another program holds it; true to
    // try again once the user has closed that program, false to stop.
    // `isLibrary` tells a library (.dll) from any other file.
    virtual bool RetryFileInUse(const std::string& target, bool isLibrary) = 0;
};
