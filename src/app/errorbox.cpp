// Morvane - the message boxes: the error when the label cannot be read or stored, and the
// offer of a name for this account only; in the user's display language where the ANSI code
// page spells it, else in English.

#include "app/app.h"
#include "app/state.h"
#include "resource.h"

static const CHAR szErrorCaption[] = "Application Error";
static const CHAR szReadError[] = "Error reading system registry entry.";
static const CHAR szWriteError[] = "Error writing system registry entry.";
static const CHAR szUserNameQuestion[] =
    "A name for all users needs administrator rights.\nRename the Recycle Bin for this account only?";
static const CHAR szProgramName[] = "Morvane";
static const WCHAR wchRightToLeftMark = 0x200F;

// The longest text a box shows: the question, up to 511 bytes of UTF-8 (a Thai letter takes 3).
typedef CHAR BoxText[512];

static_assert(sizeof szErrorCaption <= sizeof ErrorCaption, "the caption fits its field");
static_assert(sizeof szReadError <= sizeof ErrorText, "the read error fits its field");
static_assert(sizeof szWriteError <= sizeof ErrorText, "the write error fits its field");
static_assert(sizeof szUserNameQuestion <= sizeof(BoxText), "the question fits its field");
static_assert(sizeof ErrorText <= sizeof(BoxText), "a text buffer holds the error texts too");

// Fills a field with string idText, as the resource loader picks it for the user's display
// language; where the code page cannot spell it exactly, or it does not fit, with the English
// text, never with question marks. One character more than the field has bytes is read, so
// a text cut by the buffer is seen as too long. Returns the message box flags that make it
// read from the right, and aligned there, where a right-to-left translation begins it with
// right-to-left marks (Windows mirrors a box whose text begins with two); else 0.
static UINT LoadBoxText(LPSTR pszField, size_t cbField, UINT idText, LPCSTR pszEnglish)
{
    WCHAR wszText[sizeof(BoxText) + 1];

    if (LoadStringW(GetModuleHandleA(NULL), idText, wszText, (int)(cbField + 1)) == 0 ||
        !CopyWideText(pszField, cbField, wszText)) {
        CopyText(pszField, cbField, pszEnglish);
        return 0;
    }
    return wszText[0] == wchRightToLeftMark ? MB_RTLREADING | MB_RIGHT : 0;
}

void ShowRegistryError(HWND hwndOwner, BOOL fWriting)
{
    UINT uReading;

    LoadBoxText(ErrorCaption, sizeof ErrorCaption, IDS_ERROR_CAPTION, szErrorCaption);
    if (fWriting)
        uReading = LoadBoxText(ErrorText, sizeof ErrorText, IDS_WRITE_ERROR, szWriteError);
    else
        uReading = LoadBoxText(ErrorText, sizeof ErrorText, IDS_READ_ERROR, szReadError);
    MessageBoxA(hwndOwner, ErrorText, ErrorCaption, MB_OK | MB_ICONERROR | uReading);
}

BOOL AskForUserName(HWND hwndOwner)
{
    BoxText szQuestion;
    UINT uReading = LoadBoxText(szQuestion, sizeof szQuestion, IDS_USER_NAME_QUESTION, szUserNameQuestion);

    return MessageBoxA(hwndOwner, szQuestion, szProgramName, MB_YESNO | MB_ICONQUESTION | uReading) == IDYES;
}
