#include "core/scoped_sheet.h"

#include "core/cell_store.h"

namespace zt {

ScopedSheet::ScopedSheet(Engine& e, int slot) : e_(e), previous_(e.CurSlot)
{
    if (slot != previous_)
        RestoreContext(e_, slot);
}

ScopedSheet::~ScopedSheet()
{
    if (e_.CurSlot != previous_)
        RestoreContext(e_, previous_);
}

}  // namespace zt
