// A GDI font owned by its object; released when the object goes.
#pragma once

#include "unique_handle.h"

class CFont {
public:
    BOOL CreateFontIndirect(const LOGFONTA& description) {
        font_.reset(::CreateFontIndirectA(&description));
        return font_ ? TRUE : FALSE;
    }
    // A bold copy of `source`, `extraHeight` units taller; FALSE without a source.
    BOOL CreateBoldCopy(HFONT source, LONG extraHeight = 0);
    HFONT GetSafeHandle() const { return font_.get(); }

private:
    UniqueFont font_;
};
