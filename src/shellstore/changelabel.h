// Morvane - the rename shared by the command line and the editor, and the shell refresh.
#pragma once

#include "shellstore/bintext.h"

// Whom a rename is for: all users, through the machine's class key; and, where that key refuses
// the name, this account, through its own name for the Recycle Bin.
enum { RENAME_ALL_USERS = 1, RENAME_THIS_ACCOUNT = 2 };

// What a rename stored, and so who sees it.
typedef enum {
    BIN_RENAMED,              // all users, this account's desktop included; or it showed the name already
    BIN_RENAMED_FOR_ACCOUNT,  // this account only
    BIN_NOT_RENAMED,          // a write failed, or a name that would hide it could not be removed
    BIN_REFUSED               // the machine's key refused it, and it was not wanted for this account
} BinRename;

// Renames the Recycle Bin for whom dwFor allows, deciding where the name is stored: where it is
// the name the machine gives, by removing this account's names that hide it; else in the
// machine's key, directly or with the restore privilege where Windows guards the key, removing
// what would hide it; else as this account's own name. The shell is notified of any change.
BinRename RenameBin(LPCSTR pszName, DWORD dwFor);

// Stores pszNewLabel in the machine's key, removes the names that would hide it, writes the
// icon location back and notifies the shell. Returns FALSE when the label could not be stored
// or is still hidden; the icon write-back and the notifications run regardless.
BOOL ChangeBinLabel(LPCSTR pszNewLabel);

// Tells the shell that associations and the desktop changed, so it redraws the bin.
void NotifyShell(void);
