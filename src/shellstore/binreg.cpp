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
static const WCHAR wszLocalizedValue[] = L"LocalizedString";

// One field per accessor: a result stays valid until that accessor runs again.
static LabelText LabelRead;
static LabelText LabelWritten;
static PathText IconRead;
static PathText IconWritten;
static PathText SoundRead;
static LabelText ShownRead;
static LabelText UserNameRead;
static LabelText UserNameWritten;

// Every key is opened in the 64-bit view. On 64-bit Windows a 32-bit process would
// otherwise see the Wow6432Node copy of the class key, which the 64-bit shell never
// reads; 32-bit Windows ignores the flag.
static const REGSAM samRead = KEY_QUERY_VALUE | KEY_WOW64_64KEY;
static const REGSAM samWrite = KEY_SET_VALUE | KEY_WOW64_64KEY;

// Queries the value pszValue of an open key into the cbField bytes at pszField, as text
// whatever its type. Data that fill the field without a NUL fail; shorter data without one
// end at the field's zero fill. On any failure the field holds the marker.
static LONG QueryText(HKEY hKey, LPCSTR pszValue, LPSTR pszField, DWORD cbField, LPDWORD pdwType)
{
    DWORD cbData = cbField;
    LONG lStatus;

    memset(pszField, 0, cbField);
    lStatus = RegQueryValueExA(hKey, pszValue, NULL, pdwType, (LPBYTE)pszField, &cbData);
    if (lStatus == ERROR_SUCCESS && memchr(pszField, '\0', cbField) == NULL)
        lStatus = ERROR_MORE_DATA;
    if (lStatus != ERROR_SUCCESS)
        CopyText(pszField, cbField, NotFoundMarker);
    return lStatus;
}

// Reads the default value of hRoot\pszKey into its field, as QueryText does; a failing
// close fails the read as well.
static LPCSTR ReadDefaultText(HKEY hRoot, LPCSTR pszKey, LPSTR pszField, DWORD cbField, LPDWORD pdwType)
{
    HKEY hKey;
    LONG lStatus = RegOpenKeyExA(hRoot, pszKey, 0, samRead, &hKey);

    if (lStatus != ERROR_SUCCESS) {
        CopyText(pszField, cbField, NotFoundMarker);
        return pszField;
    }
    lStatus = QueryText(hKey, szDefaultValue, pszField, cbField, pdwType);
    if (RegCloseKey(hKey) != ERROR_SUCCESS && lStatus == ERROR_SUCCESS)
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

typedef LONG(WINAPI *LOADMUISTRINGPROC)(HKEY hKey, LPCWSTR pszValue, LPWSTR pszOutBuf, DWORD cbOutBuf,
                                        LPDWORD pcbData, DWORD dwFlags, LPCWSTR pszDirectory);

// Resolves the value wszValue of an open key, a reference "@file,-id", to the string it
// names, in the ANSI code page. The platform has no ANSI call for it that works. It is
// looked up, not imported, so the program still starts before Vista, where nothing
// resolves. A name the code page cannot spell exactly is not resolved.
static BOOL LoadIndirectName(HKEY hKey, LPCWSTR wszValue, LPSTR pszField, DWORD cbField)
{
    WCHAR wszName[MAX_PATH] = {0};
    HMODULE hAdvapi = GetModuleHandleA("advapi32.dll");
    LOADMUISTRINGPROC pfnLoad =
        hAdvapi ? (LOADMUISTRINGPROC)(void (*)(void))GetProcAddress(hAdvapi, "RegLoadMUIStringW") : NULL;

    // The last character stays NUL whatever the call leaves behind it.
    return pfnLoad != NULL &&
           pfnLoad(hKey, wszValue, wszName, sizeof wszName - sizeof wszName[0], NULL, 0, NULL) ==
               ERROR_SUCCESS &&
           CopyWideText(pszField, cbField, wszName);
}

// Reads a name in the value pszValue of hRoot\pszKey as the shell shows it: a plain text as
// it stands or, where wszValue names the same value, a reference resolved. Only a string
// counts. ERROR_FILE_NOT_FOUND when the key or the value is missing.
static LONG ReadNameText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPCWSTR wszValue, LPSTR pszField,
                         DWORD cbField)
{
    HKEY hKey;
    PathText szStored;
    DWORD dwType = REG_NONE;
    LONG lStatus = RegOpenKeyExA(hRoot, pszKey, 0, samRead, &hKey);

    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    lStatus = QueryText(hKey, pszValue, szStored, sizeof szStored, &dwType);
    if (lStatus == ERROR_SUCCESS && dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        lStatus = ERROR_INVALID_DATA;
    else if (lStatus == ERROR_SUCCESS && wszValue != NULL && szStored[0] == '@')
        lStatus = LoadIndirectName(hKey, wszValue, pszField, cbField) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
    else if (lStatus == ERROR_SUCCESS && !CopyText(pszField, cbField, szStored))
        lStatus = ERROR_MORE_DATA;
    LONG lCloseStatus = RegCloseKey(hKey);
    return lStatus == ERROR_SUCCESS ? lCloseStatus : lStatus;
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

BOOL IsBinLabelWriteDenied(void)
{
    HKEY hKey;
    LONG lStatus = RegOpenKeyExA(HKEY_CLASSES_ROOT, szLabelKey, 0, samWrite, &hKey);

    if (lStatus == ERROR_SUCCESS)
        RegCloseKey(hKey);
    return lStatus == ERROR_ACCESS_DENIED;
}

// Only the owner, group and DACL are asked for: an elevated token's integrity is the highest a
// key's label asks for, unless it is the system's.
BOOL CheckBinLabelWriteAccess(HANDLE hToken, BOOL *pfGranted)
{
    static const GENERIC_MAPPING keyMapping = {KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
    alignas(SECURITY_DESCRIPTOR) BYTE descriptor[2048];
    PRIVILEGE_SET privileges;
    DWORD cbDescriptor = sizeof descriptor, cbPrivileges = sizeof privileges, dwGranted;
    HKEY hKey;
    LONG lStatus = RegOpenKeyExA(HKEY_CLASSES_ROOT, szLabelKey, 0, READ_CONTROL | KEY_WOW64_64KEY, &hKey);

    if (lStatus == ERROR_SUCCESS) {
        lStatus = RegGetKeySecurity(
            hKey, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            descriptor, &cbDescriptor);
        RegCloseKey(hKey);
    }
    return lStatus == ERROR_SUCCESS &&
           AccessCheck(descriptor, hToken, KEY_SET_VALUE, const_cast<GENERIC_MAPPING *>(&keyMapping),
                       &privileges, &cbPrivileges, &dwGranted, pfGranted);
}

BOOL WriteUserBinName(LPCSTR pszName)
{
    return WriteDefaultText(HKEY_CURRENT_USER, szUserNameKey, REG_SZ, pszName, UserNameWritten,
                            sizeof UserNameWritten);
}

LPCSTR ReadUserBinName(void)
{
    if (ReadNameText(HKEY_CURRENT_USER, szUserNameKey, szDefaultValue, NULL, UserNameRead,
                     sizeof UserNameRead) != ERROR_SUCCESS)
        CopyText(UserNameRead, sizeof UserNameRead, NotFoundMarker);
    return UserNameRead;
}

// The shell's order: the current user's own name, then LocalizedString, then the label. A
// name that is set but cannot be read, resolved or held in a label leaves the shown name
// unknown, and so does an empty one: the shell would not show it.
LPCSTR ReadShownBinName(LPCSTR pszLabel)
{
    LONG lStatus =
        ReadNameText(HKEY_CURRENT_USER, szUserNameKey, szDefaultValue, NULL, ShownRead, sizeof ShownRead);

    if (lStatus == ERROR_FILE_NOT_FOUND)
        lStatus = ReadNameText(HKEY_CLASSES_ROOT, szLabelKey, szLocalizedValue, wszLocalizedValue, ShownRead,
                               sizeof ShownRead);
    if (lStatus == ERROR_FILE_NOT_FOUND)
        return CopyText(ShownRead, sizeof ShownRead, pszLabel) ? ShownRead : NotFoundMarker;
    if (lStatus != ERROR_SUCCESS || ShownRead[0] == '\0')
        CopyText(ShownRead, sizeof ShownRead, NotFoundMarker);
    return ShownRead;
}
