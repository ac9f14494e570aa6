#include "font.h"

BOOL CFont::CreateBoldCopy(HFONT source, LONG extraHeight) {
    LOGFONTA description;
    if (!source || !::GetObjectA(source, sizeof description, &description))
        return FALSE;
    // Dialog fonts carry a negative (character) height: growing means going down.
    description.lfHeight -= extraHeight;
    description.lfWeight = FW_BOLD;
    return CreateFontIndirect(description);
}
