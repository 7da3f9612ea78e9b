// Morvane - the error box shown when the label cannot be read or stored.

#include "app/app.h"
#include "app/state.h"

static const CHAR szErrorCaption[] = "Application Error";
static const CHAR szReadError[] = "Error reading system registry entry.";
static const CHAR szWriteError[] = "Error writing system registry entry.";

// wsprintfA takes no size, so each text is checked against its field here.
static_assert(sizeof szErrorCaption <= sizeof ErrorCaption, "the caption fits its field");
static_assert(sizeof szReadError <= sizeof ErrorText, "the read error fits its field");
static_assert(sizeof szWriteError <= sizeof ErrorText, "the write error fits its field");

void ShowRegistryError(HWND hwndOwner, BOOL fWriting)
{
    wsprintfA(ErrorCaption, "%s", szErrorCaption);
    wsprintfA(ErrorText, "%s", fWriting ? szWriteError : szReadError);
    MessageBoxA(hwndOwner, ErrorText, ErrorCaption, MB_OK | MB_ICONERROR);
}
