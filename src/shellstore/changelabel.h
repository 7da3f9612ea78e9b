// Morvane - the label change shared by the command line and the editor, and the shell refresh.
#pragma once

#include "shellstore/bintext.h"

// Stores pszNewLabel, removes the names that would hide it, writes the icon location
// back and notifies the shell. Returns FALSE when the label could not be stored or is
// still hidden; the icon write-back and the notifications run regardless.
BOOL ChangeBinLabel(LPCSTR pszNewLabel);

// Tells the shell that associations and the desktop changed, so it redraws the bin.
void NotifyShell(void);
