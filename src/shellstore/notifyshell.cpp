// Morvane - shell notifications after a label change.
// First an association change, delivered at once; then an update of the desktop folder.

#include "app/app.h"
#include "shellstore/changelabel.h"

#include <shlobj.h>

typedef decltype(&SHGetSpecialFolderLocation) SHGETSPECIALFOLDERLOCATIONPROC;
typedef decltype(&SHChangeNotify) SHCHANGENOTIFYPROC;
typedef decltype(&ILFree) ILFREEPROC;

// SHELL32, with all it loads, costs a run more than the rest of it does, so it is loaded only
// here, once a change is made. Without it the shell is not told, and the change still stands.
void NotifyShell(void)
{
    HMODULE hShell = LoadSystemLibrary("shell32.dll");
    if (hShell == NULL)
        return;
    SHGETSPECIALFOLDERLOCATIONPROC pfnGetFolder =
        (SHGETSPECIALFOLDERLOCATIONPROC)(void (*)(void))GetProcAddress(hShell, "SHGetSpecialFolderLocation");
    SHCHANGENOTIFYPROC pfnNotify =
        (SHCHANGENOTIFYPROC)(void (*)(void))GetProcAddress(hShell, "SHChangeNotify");
    ILFREEPROC pfnFree = (ILFREEPROC)(void (*)(void))GetProcAddress(hShell, "ILFree");
    if (pfnGetFolder == NULL || pfnNotify == NULL || pfnFree == NULL)
        return;

    LPITEMIDLIST pidlDesktop = NULL;
    HRESULT hr = pfnGetFolder(NULL, CSIDL_DESKTOP, &pidlDesktop);

    pfnNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSHNOWAIT, NULL, NULL);

    // The desktop is named by its item list, so the item type is SHCNF_IDLIST.
    // Without the list there is nothing to name; the association change above
    // already makes the shell redraw its icons.
    if (SUCCEEDED(hr) && pidlDesktop != NULL) {
        pfnNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, pidlDesktop, NULL);
        pfnFree(pidlDesktop);
    }
}
