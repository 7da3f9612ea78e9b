// Morvane - the one place that decides where a new name for the Recycle Bin is stored.
// A label change reads the icon location before the label is written and writes it back after
// it; in between, the names that would hide the new label are removed.

#include "shellstore/changelabel.h"

#include "app/state.h"
#include "shellstore/binreg.h"
#include "shellstore/guardedkey.h"

// This account's names, which the shell shows before the machine's: whether all are gone.
static BOOL RemoveAccountBinNames(void)
{
    BOOL fGone = RemoveUserBinName();
    return RemoveCopyBinNames() && fGone;
}

// ChangeBinLabel but for the notification; *pfStored says whether the label was stored.
static BOOL StoreBinLabel(LPCSTR pszNewLabel, BOOL *pfStored)
{
    DWORD dwIconType = REG_SZ;
    BOOL fShown = FALSE;

    CopyText(IconPath, sizeof IconPath, ReadBinIcon(&dwIconType));
    WriteBinLabel(pszNewLabel, pfStored);

    // The names the shell prefers to the label must go, or it never shows. They stay
    // when the label could not be stored, so a failed rename shows no older label.
    if (*pfStored) {
        fShown = RemoveLocalizedBinName();
        fShown = RemoveAccountBinNames() && fShown;
    }

    // Rewriting the icon location makes the shell drop its cached icon and label.
    // It keeps its type (the shell's own is usually REG_EXPAND_SZ), and a failed
    // read is never written back as the marker.
    if (!IsNotFound(IconPath))
        WriteBinIcon(IconPath, dwIconType);
    return *pfStored && fShown;
}

BOOL ChangeBinLabel(LPCSTR pszNewLabel)
{
    BOOL fStored;
    BOOL fShown = StoreBinLabel(pszNewLabel, &fStored);

    NotifyShell();
    return fShown;
}

// Where Windows guards the machine's key: the same change with the restore privilege, which
// leaves the key's owner and DACL as they are. Refused, with nothing stored, where the
// privilege is not held or the label still cannot be written. The label is read back as
// any program would read it.
static BinRename ChangeGuardedBinLabel(LPCSTR pszNewLabel)
{
    BOOL fStored, fShown;

    if (!BeginRestoreWrite())
        return BIN_REFUSED;
    fShown = StoreBinLabel(pszNewLabel, &fStored);
    EndRestoreWrite();
    if (!fStored)
        return BIN_REFUSED;
    NotifyShell();
    return fShown && IsSameText(ReadBinLabel(), pszNewLabel) ? BIN_RENAMED : BIN_NOT_RENAMED;
}

// This account's own name, where Explorer's rename stores it, unless it is that name already.
static BinRename NameBinForAccount(LPCSTR pszName)
{
    LPCSTR pszUserName = ReadUserBinName();

    if (IsNotFound(pszUserName) || !IsSameText(pszName, pszUserName)) {
        if (!WriteUserBinName(pszName))
            return BIN_NOT_RENAMED;
        NotifyShell();
    }
    return BIN_RENAMED_FOR_ACCOUNT;
}

BinRename RenameBin(LPCSTR pszName, DWORD dwFor)
{
    if (dwFor & RENAME_ALL_USERS) {
        LabelText szLabel;
        BinRename result;

        // The name the machine gives needs no rights: removing this account's names shows it,
        // and a LocalizedString kept goes on following the display language.
        CopyText(szLabel, sizeof szLabel, ReadBinLabel());
        LPCSTR pszMachineName = ReadMachineBinName(szLabel);
        if (!IsNotFound(pszMachineName) && IsSameText(pszName, pszMachineName)) {
            if (IsSameText(pszName, ReadShownBinName(szLabel)))
                return BIN_RENAMED;
            result = RemoveAccountBinNames() ? BIN_RENAMED : BIN_NOT_RENAMED;
            NotifyShell();
            return result;
        }
        if (!IsBinLabelWriteDenied())
            return ChangeBinLabel(pszName) ? BIN_RENAMED : BIN_NOT_RENAMED;
        result = ChangeGuardedBinLabel(pszName);
        if (result != BIN_REFUSED)
            return result;
    }
    return dwFor & RENAME_THIS_ACCOUNT ? NameBinForAccount(pszName) : BIN_REFUSED;
}
