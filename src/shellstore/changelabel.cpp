// Morvane - the one sequence that renames the Recycle Bin.
// The icon location is read before the label is written and written back after it;
// in between, the names that would hide the new label are removed.

#include "shellstore/changelabel.h"

#include "app/state.h"
#include "shellstore/binreg.h"

BOOL ChangeBinLabel(LPCSTR pszNewLabel)
{
    DWORD dwIconType = REG_SZ;
    BOOL fStored, fShown = FALSE;

    CopyText(IconPath, sizeof IconPath, ReadBinIcon(&dwIconType));
    WriteBinLabel(pszNewLabel, &fStored);

    // The names the shell prefers to the label must go, or it never shows. They stay
    // when the label could not be stored, so a failed rename shows no older label.
    if (fStored) {
        fShown = RemoveLocalizedBinName();
        fShown = RemoveUserBinName() && fShown;
    }

    // Rewriting the icon location makes the shell drop its cached icon and label.
    // It keeps its type (the shell's own is usually REG_EXPAND_SZ), and a failed
    // read is never written back as the marker.
    if (!IsNotFound(IconPath))
        WriteBinIcon(IconPath, dwIconType);

    NotifyShell();
    return fStored && fShown;
}
