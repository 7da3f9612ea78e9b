// Morvane - the machine's class key where Windows guards it: who may write it by its DACL, and
// the restore privilege, which an administrator's full token and SYSTEM hold.
#pragma once

#include <windows.h>

// Whether hToken, an impersonation token such as a filtered token's linked full one, would be
// granted the right to write the class key, by the key's security descriptor: in *pfGranted.
// FALSE where that cannot be told.
BOOL CheckBinLabelWriteAccess(HANDLE hToken, BOOL *pfGranted);

// Whether this program, run with hToken, could write that way: on Vista or later, where a
// backup-restore open grants the write; not as a 32-bit process on 64-bit Windows, whose opens
// of the class key are redirected to its 32-bit copy; and with the privilege in hToken, enabled
// or not.
BOOL CouldWriteForRestore(HANDLE hToken);

// Enables the restore privilege for this thread alone, and has the machine's keys opened for
// backup and restore, until EndRestoreWrite. FALSE, with nothing changed, where the process
// cannot write that way or its token does not hold the privilege.
BOOL BeginRestoreWrite(void);
void EndRestoreWrite(void);  // the thread's own token again, whatever failed
