#include "wizard_prompts.h"

#include "install_problem_dlg.h"
#include "resource.h"
#include "string_table.h"
#include "user_interface.h"

bool WizardPrompts::RetryFileInUse(const std::string& target, bool isLibrary) {
    if (isLibrary) {
        CInstallProblemDlg problem;
        return problem.DoModal() == IDOK;
    }
    return AfxMessageBox(FormatResourceString(IDS_STOP_EXECUTABLE, target),
                         MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}
