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
// a text cut by the buffer is seen as too long. Returns whether the text shown reads from the
// right: a right-to-left translation begins it with right-to-left marks.
static BOOL LoadErrorText(LPSTR pszField, size_t cbField, UINT idText, LPCSTR pszEnglish)
{
    WCHAR wszText[sizeof(BoxText) + 1];

    if (LoadStringW(GetModuleHandleA(NULL), idText, wszText, (int)(cbField + 1)) == 0 ||
        !CopyWideText(pszField, cbField, wszText)) {
        CopyText(pszField, cbField, pszEnglish);
        return FALSE;
    }
    return wszText[0] == wchRightToLeftMark;
}

void ShowRegistryError(HWND hwndOwner, BOOL fWriting)
{
    UINT uType = MB_OK | MB_ICONERROR;
    BOOL fRightToLeft;

    LoadErrorText(ErrorCaption, sizeof ErrorCaption, IDS_ERROR_CAPTION, szErrorCaption);
    if (fWriting)
        fRightToLeft = LoadErrorText(ErrorText, sizeof ErrorText, IDS_WRITE_ERROR, szWriteError);
    else
        fRightToLeft = LoadErrorText(ErrorText, sizeof ErrorText, IDS_READ_ERROR, szReadError);
    // Read from the right, and aligned there; Windows mirrors a box whose text begins with two
    // right-to-left marks.
    if (fRightToLeft)
        uType |= MB_RTLREADING | MB_RIGHT;
    MessageBoxA(hwndOwner, ErrorText, ErrorCaption, uType);
}

BOOL AskForUserName(HWND hwndOwner)
{
    BoxText szQuestion;
    UINT uType = MB_YESNO | MB_ICONQUESTION;

    if (LoadErrorText(szQuestion, sizeof szQuestion, IDS_USER_NAME_QUESTION, szUserNameQuestion))
        uType |= MB_RTLREADING | MB_RIGHT;
    return MessageBoxA(hwndOwner, szQuestion, szProgramName, uType) == IDYES;
}
