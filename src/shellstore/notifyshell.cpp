// Morvane - shell notifications after a label change.
// First an association change, delivered at once; then an update of the desktop folder.

#include "shellstore/changelabel.h"

#include <shlobj.h>

void NotifyShell(void)
{
    LPITEMIDLIST pidlDesktop = NULL;
    HRESULT hr = SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &pidlDesktop);

    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSHNOWAIT, NULL, NULL);

    // The desktop is named by its item list, so the item type is SHCNF_IDLIST.
    // Without the list there is nothing to name; the association change above
    // already makes the shell redraw its icons.
    if (SUCCEEDED(hr) && pidlDesktop != NULL) {
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, pidlDesktop, NULL);
        ILFree(pidlDesktop);
    }
}
