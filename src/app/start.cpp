// Morvane - the process entry point of the Windows build.
// The tail is derived here, so it never depends on a runtime library's start-up code.

#include "app/cmdtail.h"

extern "C" void MorvaneStart(void)
{
    LPSTR pszTail = FindCommandTail(GetCommandLineA(), IsDBCSLeadByte);
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, pszTail, SW_SHOWDEFAULT));
}
