// Morvane - where DLLs loaded on demand come from. Windows looks in the exe's own folder
// first, so a DLL planted beside a downloaded exe would run with its rights, elevated ones too.

#include "app/app.h"

#include <string.h>

typedef BOOL(WINAPI *SETDEFAULTDLLDIRECTORIESPROC)(DWORD dwDirectoryFlags);
typedef BOOL(WINAPI *SETDLLDIRECTORYPROC)(LPCSTR pszPathName);

// Both calls are looked up: the first needs Windows 8, or Vista and 7 with KB2533623; the
// second XP SP1. Without either the search stays as the platform has it.
void RestrictDllSearch(void)
{
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    SETDEFAULTDLLDIRECTORIESPROC pfnSetDefaultDllDirectories;
    SETDLLDIRECTORYPROC pfnSetDllDirectory;

    if (hKernel == NULL)
        return;
    pfnSetDefaultDllDirectories =
        (SETDEFAULTDLLDIRECTORIESPROC)(void (*)(void))GetProcAddress(hKernel, "SetDefaultDllDirectories");
    if (pfnSetDefaultDllDirectories != NULL && pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // An empty directory at least takes the current one out of the search.
    pfnSetDllDirectory = (SETDLLDIRECTORYPROC)(void (*)(void))GetProcAddress(hKernel, "SetDllDirectoryA");
    if (pfnSetDllDirectory != NULL)
        pfnSetDllDirectory("");
}

HMODULE LoadSystemLibrary(LPCSTR pszName)
{
    CHAR szPath[MAX_PATH];
    UINT cchDir = GetSystemDirectoryA(szPath, sizeof szPath);
    size_t cbName = strlen(pszName) + 1;
    HMODULE hModule;

    if (cchDir == 0 || cchDir + 1 + cbName > sizeof szPath)
        return NULL;
    szPath[cchDir] = '\\';
    memcpy(szPath + cchDir + 1, pszName, cbName);
    // Its own dependencies come from System32 too; where the flag is unknown (before
    // Windows 8 without KB2533623) the call fails, and the full path alone has to do.
    hModule = LoadLibraryExA(szPath, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return hModule != NULL ? hModule : LoadLibraryA(szPath);
}
