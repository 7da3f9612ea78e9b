// Morvane - USER32 and GDI32 are loaded on their first call, not at the start: a command-line
// run calls neither, and loading them (Wine sets up its fonts then) costs more than the run.

#include "app/app.h"

#include <delayimp.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// Newer linkers put the delay-load slots in a read-only .idata, and the loader protects
// import tables again once bound: a slot is made writable for its write. Where that fails
// nothing is kept, and the next call asks again.
static void StoreSlot(void **ppSlot, void *pValue)
{
    DWORD dwProtect;

    if (VirtualProtect(ppSlot, sizeof *ppSlot, PAGE_READWRITE, &dwProtect)) {
        *ppSlot = pValue;
        VirtualProtect(ppSlot, sizeof *ppSlot, dwProtect, &dwProtect);
    }
}

// The linker's stubs call this at a delay-loaded function's first call. The DLL comes from
// System32, as every DLL loaded on demand here does, and the function's address goes where
// the stub looks the next time. A DLL or function Windows lacks ends the run: the call has
// nowhere to go.
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr pidd, FARPROC *ppfnIATEntry)
{
    BYTE *pbBase = (BYTE *)&__ImageBase;
    HMODULE *phModule = (HMODULE *)(pbBase + pidd->rvaHmod);
    FARPROC *ppfnIAT = (FARPROC *)(pbBase + pidd->rvaIAT);
    PCImgThunkData pName = (PCImgThunkData)(pbBase + pidd->rvaINT) + (ppfnIATEntry - ppfnIAT);
    LPCSTR pszProc = IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal)
                         ? (LPCSTR)IMAGE_ORDINAL(pName->u1.Ordinal)
                         : ((PIMAGE_IMPORT_BY_NAME)(pbBase + pName->u1.AddressOfData))->Name;
    HMODULE hModule = *phModule;
    FARPROC pfn = NULL;

    if (hModule == NULL) {
        hModule = LoadSystemLibrary((LPCSTR)(pbBase + pidd->rvaDLLName));
        StoreSlot((void **)phModule, hModule);
    }
    if (hModule != NULL)
        pfn = GetProcAddress(hModule, pszProc);
    if (pfn == NULL)
        ExitProcess(1);
    StoreSlot((void **)ppfnIATEntry, (void *)pfn);
    return pfn;
}
