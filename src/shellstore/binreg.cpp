// Morvane - accessors for the Recycle Bin label, its icon location, the Empty Recycle Bin sound
// and the names that would hide the label. Each opens its key, reads, writes or deletes one
// value, and closes the key; any failed step gives the marker, or FALSE.

#include "shellstore/binreg.h"

#include <string.h>

#define BIN_CLASS_KEY "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"

static const CHAR szLabelKey[] = BIN_CLASS_KEY;
static const CHAR szIconKey[] = BIN_CLASS_KEY "\\DefaultIcon";
static const CHAR szSoundKey[] = "AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current";
static const CHAR szUserNameKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\" BIN_CLASS_KEY;
static const CHAR szDefaultValue[] = "";
static const CHAR szLocalizedValue[] = "LocalizedString";

// One field per accessor: a result stays valid until that accessor runs again.
static LabelText LabelRead;
static LabelText LabelWritten;
static PathText IconRead;
static PathText IconWritten;
static PathText SoundRead;

// Every key is opened in the 64-bit view. On 64-bit Windows a 32-bit process would
// otherwise see the Wow6432Node copy of the class key, which the 64-bit shell never
// reads; 32-bit Windows ignores the flag.
static const REGSAM samRead = KEY_QUERY_VALUE | KEY_WOW64_64KEY;
static const REGSAM samWrite = KEY_SET_VALUE | KEY_WOW64_64KEY;

// Reads the default value of hRoot\pszKey into the cbField bytes at pszField.
// Data are taken as text whatever their type. Data that fill the field without
// a NUL give the marker; shorter data without one end at the field's zero fill.
static LPCSTR ReadDefaultText(HKEY hRoot, LPCSTR pszKey, LPSTR pszField, DWORD cbField, LPDWORD pdwType)
{
    HKEY hKey;
    DWORD cbData = cbField;
    LONG lStatus;

    memset(pszField, 0, cbField);
    lStatus = RegOpenKeyExA(hRoot, pszKey, 0, samRead, &hKey);
    if (lStatus == ERROR_SUCCESS) {
        lStatus = RegQueryValueExA(hKey, szDefaultValue, NULL, pdwType, (LPBYTE)pszField, &cbData);
        LONG lCloseStatus = RegCloseKey(hKey);
        if (lStatus == ERROR_SUCCESS)
            lStatus = lCloseStatus;
    }
    if (lStatus != ERROR_SUCCESS || memchr(pszField, '\0', cbField) == NULL)
        CopyText(pszField, cbField, NotFoundMarker);
    return pszField;
}

// Stores pszText as the default value of hRoot\pszKey, creating the key when it is
// missing. The whole field goes out: the text, its NUL and the zero fill after it.
// A text longer than the field is refused without touching the registry.
// Returns whether it was stored; the field then holds the text, else the marker.
static BOOL WriteDefaultText(HKEY hRoot, LPCSTR pszKey, DWORD dwType, LPCSTR pszText, LPSTR pszField,
                             DWORD cbField)
{
    HKEY hKey;
    LONG lStatus = ERROR_INSUFFICIENT_BUFFER;

    if (CopyText(pszField, cbField, pszText)) {
        lStatus = RegCreateKeyExA(hRoot, pszKey, 0, NULL, 0, samWrite, NULL, &hKey, NULL);
        if (lStatus == ERROR_SUCCESS) {
            lStatus = RegSetValueExA(hKey, szDefaultValue, 0, dwType, (const BYTE *)pszField, cbField);
            LONG lCloseStatus = RegCloseKey(hKey);
            if (lStatus == ERROR_SUCCESS)
                lStatus = lCloseStatus;
        }
    }
    if (lStatus != ERROR_SUCCESS)
        CopyText(pszField, cbField, NotFoundMarker);
    return lStatus == ERROR_SUCCESS;
}

// Whether hRoot\pszKey may hold pszValue: only a registry that says "not found" rules it out.
static BOOL MayHoldValue(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue)
{
    HKEY hKey;
    LONG lStatus = RegOpenKeyExA(hRoot, pszKey, 0, samRead, &hKey);

    if (lStatus == ERROR_SUCCESS) {
        lStatus = RegQueryValueExA(hKey, pszValue, NULL, NULL, NULL, NULL);
        RegCloseKey(hKey);
    }
    return lStatus != ERROR_FILE_NOT_FOUND;
}

// Deletes the value pszValue of hRoot\pszKey. A missing key or value is nothing to delete,
// and neither is a key this user may not write that holds no such value; no key is created.
// Returns whether the value is gone.
static BOOL DeleteNamedValue(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue)
{
    HKEY hKey;
    LONG lStatus = RegOpenKeyExA(hRoot, pszKey, 0, samWrite, &hKey);

    if (lStatus == ERROR_SUCCESS) {
        lStatus = RegDeleteValueA(hKey, pszValue);
        LONG lCloseStatus = RegCloseKey(hKey);
        if (lStatus == ERROR_SUCCESS || lStatus == ERROR_FILE_NOT_FOUND)
            lStatus = lCloseStatus;
    } else if (lStatus == ERROR_ACCESS_DENIED && !MayHoldValue(hRoot, pszKey, pszValue)) {
        lStatus = ERROR_SUCCESS;
    }
    return lStatus == ERROR_SUCCESS || lStatus == ERROR_FILE_NOT_FOUND;
}

LPCSTR ReadBinLabel(void)
{
    return ReadDefaultText(HKEY_CLASSES_ROOT, szLabelKey, LabelRead, sizeof LabelRead, NULL);
}

LPCSTR ReadBinIcon(LPDWORD pdwType)
{
    return ReadDefaultText(HKEY_CLASSES_ROOT, szIconKey, IconRead, sizeof IconRead, pdwType);
}

LPCSTR ReadEmptyBinSound(void)
{
    return ReadDefaultText(HKEY_CURRENT_USER, szSoundKey, SoundRead, sizeof SoundRead, NULL);
}

// The result alone cannot tell a stored label "NOT_FOUND" from a failure; pfStored can.
LPCSTR WriteBinLabel(LPCSTR pszLabel, BOOL *pfStored)
{
    *pfStored =
        WriteDefaultText(HKEY_CLASSES_ROOT, szLabelKey, REG_SZ, pszLabel, LabelWritten, sizeof LabelWritten);
    return LabelWritten;
}

LPCSTR WriteBinIcon(LPCSTR pszIcon, DWORD dwType)
{
    WriteDefaultText(HKEY_CLASSES_ROOT, szIconKey, dwType, pszIcon, IconWritten, sizeof IconWritten);
    return IconWritten;
}

BOOL RemoveLocalizedBinName(void)
{
    return DeleteNamedValue(HKEY_CLASSES_ROOT, szLabelKey, szLocalizedValue);
}

BOOL RemoveUserBinName(void)
{
    return DeleteNamedValue(HKEY_CURRENT_USER, szUserNameKey, szDefaultValue);
}
