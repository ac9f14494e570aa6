// The License Agreement page: shows the license text read-only and turns the
// wizard's Next button into the acceptance button "I Agree". Cancel declines.
#pragma once

#include "property_sheet.h"

#include <memory>

class CSetupPgLicense : public CPropertyPage {
public:
    CSetupPgLicense();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    // The whole text of License.txt, NUL-terminated; null when there is none.
    // The page owns it from the moment it is handed over.
    std::unique_ptr<char[]> m_pszLicenseText;
};
