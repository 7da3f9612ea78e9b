// Morvane - accessors for the Recycle Bin label, its icon location, the Empty Recycle Bin sound
// and the names that would hide the label. Each opens its key, reads, writes or deletes one
// value, and closes the key; any failed step gives the marker, or FALSE. The name for all users
// lives in the machine's class key, addressed directly: HKEY_CLASSES_ROOT would show, and write
// to, this account's copy of the key where it has one.

#include "shellstore/binreg.h"

#include <string.h>

static const CHAR szLabelKey[] = BIN_MACHINE_KEY;  // under HKEY_LOCAL_MACHINE
static const CHAR szIconKey[] = BIN_MACHINE_KEY "\\DefaultIcon";
static const CHAR szCopyKey[] = "Software\\Classes\\" BIN_CLASS_KEY;  // this account's copy, under HKCU
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
static LabelText MachineNameRead;
static LabelText UserNameRead;
static LabelText UserNameWritten;

// Every key is opened in the 64-bit view. On 64-bit Windows a 32-bit process would
// otherwise see the Wow6432Node copy of the class key, which the 64-bit shell never
// reads; 32-bit Windows ignores the flag.
static const REGSAM samRead = KEY_QUERY_VALUE | KEY_WOW64_64KEY;
static const REGSAM samWrite = KEY_SET_VALUE | KEY_WOW64_64KEY;

// While the restore privilege is enabled, the machine's keys are opened for backup and restore.
static BOOL fRestoreOpens;

void UseRestoreOpens(BOOL fUse)
{
    fRestoreOpens = fUse;
}

// Opens hRoot\pszKey to set or delete values, creating it where fCreate says and it is missing.
// A backup-restore open is granted the write whatever the key's DACL says; it is meant for the
// keys that Windows guards, which exist. One it would create is deleted again, where the DACL
// the new key inherits lets it be, and the open fails as refused.
static LONG OpenKeyForWrite(HKEY hRoot, LPCSTR pszKey, BOOL fCreate, PHKEY phKey)
{
    DWORD dwDisposition = REG_OPENED_EXISTING_KEY;
    LONG lStatus;

    if (!fRestoreOpens || hRoot != HKEY_LOCAL_MACHINE)
        return fCreate ? RegCreateKeyExA(hRoot, pszKey, 0, NULL, 0, samWrite, NULL, phKey, NULL)
                       : RegOpenKeyExA(hRoot, pszKey, 0, samWrite, phKey);
    lStatus = RegCreateKeyExA(hRoot, pszKey, 0, NULL, REG_OPTION_BACKUP_RESTORE, KEY_WOW64_64KEY, NULL, phKey,
                              &dwDisposition);
    if (lStatus == ERROR_SUCCESS && dwDisposition != REG_OPENED_EXISTING_KEY) {
        RegCloseKey(*phKey);
        RegDeleteKeyA(hRoot, pszKey);
        lStatus = ERROR_ACCESS_DENIED;
    }
    return lStatus;
}

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
        lStatus = OpenKeyForWrite(hRoot, pszKey, TRUE, &hKey);
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
    LONG lStatus = OpenKeyForWrite(hRoot, pszKey, FALSE, &hKey);

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
    return ReadDefaultText(HKEY_LOCAL_MACHINE, szLabelKey, LabelRead, sizeof LabelRead, NULL);
}

LPCSTR ReadBinIcon(LPDWORD pdwType)
{
    return ReadDefaultText(HKEY_LOCAL_MACHINE, szIconKey, IconRead, sizeof IconRead, pdwType);
}

LPCSTR ReadEmptyBinSound(void)
{
    return ReadDefaultText(HKEY_CURRENT_USER, szSoundKey, SoundRead, sizeof SoundRead, NULL);
}

// The result alone cannot tell a stored label "NOT_FOUND" from a failure; pfStored can.
LPCSTR WriteBinLabel(LPCSTR pszLabel, BOOL *pfStored)
{
    *pfStored =
        WriteDefaultText(HKEY_LOCAL_MACHINE, szLabelKey, REG_SZ, pszLabel, LabelWritten, sizeof LabelWritten);
    return LabelWritten;
}

LPCSTR WriteBinIcon(LPCSTR pszIcon, DWORD dwType)
{
    WriteDefaultText(HKEY_LOCAL_MACHINE, szIconKey, dwType, pszIcon, IconWritten, sizeof IconWritten);
    return IconWritten;
}

BOOL RemoveLocalizedBinName(void)
{
    return DeleteNamedValue(HKEY_LOCAL_MACHINE, szLabelKey, szLocalizedValue);
}

BOOL RemoveUserBinName(void)
{
    return DeleteNamedValue(HKEY_CURRENT_USER, szUserNameKey, szDefaultValue);
}

BOOL RemoveCopyBinNames(void)
{
    BOOL fGone = DeleteNamedValue(HKEY_CURRENT_USER, szCopyKey, szDefaultValue);
    return DeleteNamedValue(HKEY_CURRENT_USER, szCopyKey, szLocalizedValue) && fGone;
}

BOOL IsBinLabelWriteDenied(void)
{
    HKEY hKey;
    LONG lStatus = OpenKeyForWrite(HKEY_LOCAL_MACHINE, szLabelKey, FALSE, &hKey);

    if (lStatus == ERROR_SUCCESS)
        RegCloseKey(hKey);
    return lStatus == ERROR_ACCESS_DENIED;
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

// Where the shell looks for the Recycle Bin's name, in its order, before the machine's label.
// The account's places come from Explorer's rename and from this account's copy of the class
// key, whose values HKEY_CLASSES_ROOT shows before the machine's.
static const struct {
    BOOL fAccount;
    HKEY hRoot;
    LPCSTR pszKey, pszValue;
    LPCWSTR wszValue;  // a value that may hold a reference to a string resource
} NamePlaces[] = {
    {TRUE, HKEY_CURRENT_USER, szUserNameKey, szDefaultValue, NULL},
    {TRUE, HKEY_CURRENT_USER, szCopyKey, szLocalizedValue, wszLocalizedValue},
    {FALSE, HKEY_LOCAL_MACHINE, szLabelKey, szLocalizedValue, wszLocalizedValue},
    {TRUE, HKEY_CURRENT_USER, szCopyKey, szDefaultValue, NULL},
};

// The first name set in the places asked for, else pszLabel, into a field. A name that is set
// but cannot be read, resolved or held in a label leaves the name unknown, and so does an empty
// one: the shell would not show it.
static LPCSTR ReadBinName(LPCSTR pszLabel, BOOL fWithAccount, LPSTR pszField, DWORD cbField)
{
    LONG lStatus = ERROR_FILE_NOT_FOUND;

    for (size_t i = 0; i < sizeof NamePlaces / sizeof NamePlaces[0] && lStatus == ERROR_FILE_NOT_FOUND; ++i)
        if (fWithAccount || !NamePlaces[i].fAccount)
            lStatus = ReadNameText(NamePlaces[i].hRoot, NamePlaces[i].pszKey, NamePlaces[i].pszValue,
                                   NamePlaces[i].wszValue, pszField, cbField);
    if (lStatus == ERROR_FILE_NOT_FOUND)
        return CopyText(pszField, cbField, pszLabel) ? pszField : NotFoundMarker;
    if (lStatus != ERROR_SUCCESS || pszField[0] == '\0')
        CopyText(pszField, cbField, NotFoundMarker);
    return pszField;
}

LPCSTR ReadShownBinName(LPCSTR pszLabel)
{
    return ReadBinName(pszLabel, TRUE, ShownRead, sizeof ShownRead);
}

LPCSTR ReadMachineBinName(LPCSTR pszLabel)
{
    return ReadBinName(pszLabel, FALSE, MachineNameRead, sizeof MachineNameRead);
}
