// Morvane - the registry values the program reads or writes.
// Each accessor returns its own field's text, or the failure marker.
#pragma once

#include "shellstore/bintext.h"

LPCSTR ReadBinLabel(void);
LPCSTR ReadBinIcon(LPDWORD pdwType);  // also gives the value's type, to write it back alike
LPCSTR ReadEmptyBinSound(void);
LPCSTR WriteBinLabel(LPCSTR pszLabel, BOOL *pfStored);  // the label "NOT_FOUND" reads like a failure
LPCSTR WriteBinIcon(LPCSTR pszIcon, DWORD dwType);
