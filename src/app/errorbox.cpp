// Morvane - the error box shown when the label cannot be read or stored.

#include "app/app.h"
#include "app/state.h"

void ShowRegistryError(HWND hwndOwner, BOOL fWriting)
{
    // Each literal fits its field with room to spare.
    wsprintfA(ErrorCaption, "Application Error");
    if (fWriting)
        wsprintfA(ErrorText, "Error writing system registry entry.");
    else
        wsprintfA(ErrorText, "Error reading system registry entry.");
    MessageBoxA(hwndOwner, ErrorText, ErrorCaption, MB_OK | MB_ICONERROR);
}
