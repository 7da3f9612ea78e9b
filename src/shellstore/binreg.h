// Morvane - the registry values the program reads or writes.
// Each accessor returns its own field's text, or the failure marker; the two that remove
// a name the shell would show instead of the label say whether it is gone.
#pragma once

#include "shellstore/bintext.h"

#define BIN_CLASS_KEY   "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"
#define BIN_MACHINE_KEY "SOFTWARE\\Classes\\" BIN_CLASS_KEY  // the machine's, under HKEY_LOCAL_MACHINE

LPCSTR ReadBinLabel(void);
LPCSTR ReadBinIcon(LPDWORD pdwType);  // also gives the value's type, to write it back alike
LPCSTR ReadEmptyBinSound(void);
LPCSTR WriteBinLabel(LPCSTR pszLabel, BOOL *pfStored);  // the label "NOT_FOUND" reads like a failure
LPCSTR WriteBinIcon(LPCSTR pszIcon, DWORD dwType);

// The shell shows this account's names for the Recycle Bin first, then the machine's
// LocalizedString, and the label only where none is set. This account's are its own name, where
// Explorer's rename stores it, and the default value and LocalizedString of its copy of the class
// key; the copy is never created, and its other values stay.
BOOL RemoveLocalizedBinName(void);  // LocalizedString of the machine's class key
BOOL RemoveUserBinName(void);       // the default value of the user's own key, if any
BOOL RemoveCopyBinNames(void);      // the default value and LocalizedString of the copy

// Whether this process is refused the right to write the machine's class key, so cannot store
// a label.
BOOL IsBinLabelWriteDenied(void);

// While fUse is set, the machine's keys are written through backup-restore opens, which need
// the restore privilege enabled.
void UseRestoreOpens(BOOL fUse);

// Stores pszName as the current user's own name for the Recycle Bin, where Explorer's rename
// stores it; the shell shows it to this user in place of the label. Whether it was stored.
BOOL WriteUserBinName(LPCSTR pszName);

// The current user's own name for the Recycle Bin, a string the shell would show; the marker
// where there is none or it cannot be read.
LPCSTR ReadUserBinName(void);

// The name the desktop shows: the user's own name, else LocalizedString (a reference to a
// string resource resolved), else the default value, the machine's being pszLabel, as the
// caller read it. The marker when that name cannot be told or does not fit a label.
LPCSTR ReadShownBinName(LPCSTR pszLabel);

// The same without this account's names: the one it would show after they were removed.
LPCSTR ReadMachineBinName(LPCSTR pszLabel);
