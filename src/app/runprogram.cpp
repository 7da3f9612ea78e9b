// Morvane - the entry point's work: the DLL search is restricted before anything else can
// load a DLL, then WinMain runs with the command tail.

#include "app/app.h"
#include "app/cmdtail.h"

int RunProgram(void)
{
    RestrictDllSearch();
    LPSTR pszTail = FindCommandTail(GetCommandLineA(), IsDBCSLeadByte);
    return WinMain(GetModuleHandleA(NULL), NULL, pszTail, SW_SHOWDEFAULT);
}
