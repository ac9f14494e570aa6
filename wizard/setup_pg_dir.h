// The Install Directory page: greets the user with the program's name,
// proposes Program Files on the first suitable drive plus the package's
// folder name, and on leaving stores the chosen directory in the choices.
#pragma once

#include "font.h"
#include "install_choices.h"
#include "install_defaults.h"
#include "install_directory_rule.h"
#include "property_sheet.h"

#include <string>

struct SetupContext;

class CSetupPgDir : public CPropertyPage {
public:
    CSetupPgDir(const SetupContext& context, InstallChoices& choices);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    BOOL OnKillActive() override;
    BOOL OnCommand(UINT id, UINT code) override;

    // Browse: the system's folder picker, starting at the directory typed; a
    // chosen folder, with the package's folder name below it, replaces it.
    void OnBrowse();

    // Bold copy of the page's font for the welcome line.
    CFont m_fontBold;

private:
    const SetupContext& context_;
    InstallChoices& choices_;
};
