// Morvane - the registry values the program reads or writes.
// Each accessor returns its own field's text, or the failure marker; the two that remove
// a name the shell would show instead of the label say whether it is gone.
#pragma once

#include "shellstore/bintext.h"

LPCSTR ReadBinLabel(void);
LPCSTR ReadBinIcon(LPDWORD pdwType);  // also gives the value's type, to write it back alike
LPCSTR ReadEmptyBinSound(void);
LPCSTR WriteBinLabel(LPCSTR pszLabel, BOOL *pfStored);  // the label "NOT_FOUND" reads like a failure
LPCSTR WriteBinIcon(LPCSTR pszIcon, DWORD dwType);

// The shell shows the current user's own name for the Recycle Bin first, then the class
// key's LocalizedString, and the label only where neither is set.
BOOL RemoveLocalizedBinName(void);  // LocalizedString of the class key
BOOL RemoveUserBinName(void);       // the default value of the user's own key, if any

// Whether this process is refused the right to write the class key, so cannot store a label.
BOOL IsBinLabelWriteDenied(void);

// Whether hToken, an impersonation token such as a filtered token's linked full one, would be
// granted the right to write the class key, by the key's security descriptor: in *pfGranted.
// FALSE where that cannot be told.
BOOL CheckBinLabelWriteAccess(HANDLE hToken, BOOL *pfGranted);

// Stores pszName as the current user's own name for the Recycle Bin, where Explorer's rename
// stores it; the shell shows it to this user in place of the label. Whether it was stored.
BOOL WriteUserBinName(LPCSTR pszName);

// The current user's own name for the Recycle Bin, a string the shell would show; the marker
// where there is none or it cannot be read.
LPCSTR ReadUserBinName(void);

// The name the desktop shows: the user's own name, else LocalizedString (a reference to a
// string resource resolved), else pszLabel, the label as the caller read it. The marker when
// that name cannot be told or does not fit a label.
LPCSTR ReadShownBinName(LPCSTR pszLabel);
