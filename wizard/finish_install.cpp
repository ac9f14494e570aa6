// Install, pressed on the last page: the page's choices go to the engine,
// which carries out the whole installation; its problem, if any, is told here.
#include "setup_pg_group.h"

#include "copy_progress_dlg.h"
#include "installation.h"
#include "problem_message.h"
#include "wizard_prompts.h"

BOOL CSetupPgGroup::OnWizardFinish() {
    CollectChoices();
    WizardPrompts prompts;
    CCopyProgressDlg progress(GetSheet()); // keeps the wizard disabled for the copy run
    m_outcome = Install(context_, choices_, prompts, &progress);
    ShowProblem(m_outcome.problem);
    switch (m_outcome.stage) {
    case InstallStage::AnotherRun:
    case InstallStage::DirectoryRefused:
        return FALSE; // the user may wait, or choose another directory, and try again
    case InstallStage::CopyFailed:
        return TRUE;
    case InstallStage::Installed:
        break;
    }
    m_bInstalled = true;
    return CPropertyPage::OnWizardFinish();
}
