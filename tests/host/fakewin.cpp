// Host stand-in for the Win32 calls Morvane makes.
// Registry semantics follow the ANSI calls: data are copied only when they fit.

#include "fakewin.h"

#include "shellstore/binreg.h"

#include <shlobj.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <wchar.h>

FakeWin Fake;

static int DesktopPidl;    // its address stands for the desktop's item list
static int ProgramModule;  // its address stands for the program's module
static int WinmmModule;    // and this one for WINMM, loaded from the system directory
static int AdvapiModule;   // and ADVAPI32, which the program imports
static int KernelModule;   // and KERNEL32
static int UserModule;     // and USER32
static int ThisProcess;    // the pseudo handle of the current process
static int TokenHandle;    // its token, once opened
static int CopyProcess;    // an elevated copy started by ShellExecuteExA
static int DwmModule;      // and DWMAPI
static int ShellModule;    // and SHELL32
static int LinkedToken;    // a filtered token's linked full one
static int ShellProcess;   // the desktop's shell, its token and the two users
static int ShellToken;
static int ThisUser, OtherUser;

struct FakeHandle {
    HKEY hRoot;
    std::string key;
    REGSAM sam;  // the rights the key was opened with
};

void FakeWin::Reset()
{
    *this = FakeWin();
}

void FakeWin::SetDefault(HKEY hRoot, const std::string &key, DWORD type, const std::string &data)
{
    FakeKey &k = keys[{hRoot, key}];
    k.hasDefault = true;
    k.value = FakeValue{type, data};
}

void FakeWin::SetDefault(HKEY hRoot, const std::string &key, const char *text)
{
    SetDefault(hRoot, key, REG_SZ, std::string(text, strlen(text) + 1));
}

void FakeWin::SetNamed(HKEY hRoot, const std::string &key, const std::string &name, const char *text)
{
    keys[{hRoot, key}].named[name] = FakeValue{REG_SZ, std::string(text, strlen(text) + 1)};
}

void FakeWin::RemoveKey(HKEY hRoot, const std::string &key)
{
    keys.erase({hRoot, key});
}

const FakeValue *FakeWin::Default(HKEY hRoot, const std::string &key) const
{
    auto it = keys.find({hRoot, key});
    return it != keys.end() && it->second.hasDefault ? &it->second.value : nullptr;
}

const FakeValue *FakeWin::Named(HKEY hRoot, const std::string &key, const std::string &name) const
{
    auto it = keys.find({hRoot, key});
    if (it == keys.end())
        return nullptr;
    auto value = it->second.named.find(name);
    return value != it->second.named.end() ? &value->second : nullptr;
}

bool FakeWin::HasKey(HKEY hRoot, const std::string &key) const
{
    return keys.count({hRoot, key}) != 0;
}

std::vector<std::string> FakeWin::Calls(const std::string &prefix) const
{
    std::vector<std::string> lines;
    for (const std::string &line : log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    return lines;
}

static void Log(const char *format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Fake.log.push_back(line);
}

static bool Fails(FakeStep step, const std::string &key)
{
    return Fake.failStep == step && (Fake.failKey.empty() || Fake.failKey == key);
}

static FakeHandle *Handle(HKEY hKey)
{
    return reinterpret_cast<FakeHandle *>(hKey);
}

static HKEY OpenHandle(HKEY hRoot, const std::string &key, REGSAM sam)
{
    ++Fake.openKeys;
    return reinterpret_cast<HKEY>(new FakeHandle{hRoot, key, sam});
}

// The tests seed the machine's classes under HKEY_CLASSES_ROOT, as Wine has them.
static std::pair<HKEY, std::string> Place(HKEY hRoot, const std::string &key)
{
    static const std::string machine = "SOFTWARE\\Classes\\";
    if (hRoot == HKEY_LOCAL_MACHINE && key.compare(0, machine.size(), machine) == 0)
        return {HKEY_CLASSES_ROOT, key.substr(machine.size())};
    return {hRoot, key};
}

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    auto [hRoot, key] = Place(hKey, lpSubKey);
    Log("RegOpenKeyExA %s sam 0x%04x", key.c_str(), (unsigned)samDesired);
    if (Fails(FAIL_OPEN, key))
        return Fake.failStatus;
    if (!Fake.HasKey(hRoot, key))
        return ERROR_FILE_NOT_FOUND;
    if (Fake.keys[{hRoot, key}].readOnly && (samDesired & KEY_SET_VALUE) != 0)
        return ERROR_ACCESS_DENIED;
    *phkResult = OpenHandle(hRoot, key, samDesired);
    return ERROR_SUCCESS;
}

// A backup-restore open, made only with the restore privilege enabled, writes whatever the DACL says.
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD dwOptions, REGSAM samDesired,
                     LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD)
{
    auto [hRoot, key] = Place(hKey, lpSubKey);
    bool restore = (dwOptions & REG_OPTION_BACKUP_RESTORE) != 0;
    Log("RegCreateKeyExA %s sam 0x%04x%s", key.c_str(), (unsigned)samDesired, restore ? " restore" : "");
    if (Fails(FAIL_CREATE, key))
        return Fake.failStatus;
    if (Fake.keys[{hRoot, key}].readOnly && !restore)
        return ERROR_ACCESS_DENIED;
    *phkResult = OpenHandle(hRoot, key, restore ? KEY_QUERY_VALUE | KEY_SET_VALUE : samDesired);
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey)
{
    Fake.RemoveKey(Place(hKey, lpSubKey).first, Place(hKey, lpSubKey).second);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    FakeHandle *h = Handle(hKey);
    Log("RegQueryValueExA %s [%s]", h->key.c_str(), lpValueName);
    if (Fails(FAIL_QUERY, h->key))
        return Fake.failStatus;
    if ((h->sam & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const FakeValue *value = lpValueName == nullptr || lpValueName[0] == '\0'
                                 ? Fake.Default(h->hRoot, h->key)
                                 : Fake.Named(h->hRoot, h->key, lpValueName);
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (lpcbData == nullptr)  // only asked whether the value exists
        return lpData == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    DWORD cbAvailable = *lpcbData;
    *lpcbData = (DWORD)value->data.size();
    if (lpType != nullptr)
        *lpType = value->type;
    if (value->data.size() > cbAvailable) {
        // Leave rubbish behind, as a partial conversion might.
        memset(lpData, 'X', cbAvailable);
        return ERROR_MORE_DATA;
    }
    memcpy(lpData, value->data.data(), value->data.size());
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE *lpData, DWORD cbData)
{
    FakeHandle *h = Handle(hKey);
    Log("RegSetValueExA %s [%s] type %u cb %u", h->key.c_str(), lpValueName, dwType, cbData);
    if (Fails(FAIL_SET, h->key))
        return Fake.failStatus;
    if ((h->sam & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    Fake.SetDefault(h->hRoot, h->key, dwType, std::string((const char *)lpData, cbData));
    return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    FakeHandle *h = Handle(hKey);
    Log("RegDeleteValueA %s [%s]", h->key.c_str(), lpValueName);
    if (Fails(FAIL_DELETE, h->key))
        return Fake.failStatus;
    if ((h->sam & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    FakeKey &k = Fake.keys[{h->hRoot, h->key}];
    if (lpValueName[0] == '\0') {
        if (!k.hasDefault)
            return ERROR_FILE_NOT_FOUND;
        k.hasDefault = false;
        return ERROR_SUCCESS;
    }
    return k.named.erase(lpValueName) != 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY hKey)
{
    FakeHandle *h = Handle(hKey);
    Log("RegCloseKey %s", h->key.c_str());
    bool fails = Fails(FAIL_CLOSE, h->key);
    --Fake.openKeys;
    delete h;
    return fails ? Fake.failStatus : ERROR_SUCCESS;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST *ppidl)
{
    Log("SHGetSpecialFolderLocation %d", csidl);
    if (Fake.desktopLookupFails || csidl != CSIDL_DESKTOP) {
        *ppidl = nullptr;
        return E_FAIL;
    }
    *ppidl = reinterpret_cast<LPITEMIDLIST>(&DesktopPidl);
    return S_OK;
}

void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID dwItem2)
{
    Log("SHChangeNotify 0x%08x 0x%04x %s %s", (unsigned)wEventId, uFlags,
        dwItem1 == nullptr        ? "null"
        : dwItem1 == &DesktopPidl ? "desktop"
                                  : "other",
        dwItem2 == nullptr ? "null" : "other");
}

void ILFree(LPITEMIDLIST pidl)
{
    Log("ILFree %s", reinterpret_cast<void *>(pidl) == &DesktopPidl ? "desktop" : "other");
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName)
{
    if (lpModuleName == nullptr)
        return reinterpret_cast<HMODULE>(&ProgramModule);
    if (strcasecmp(lpModuleName, "kernel32.dll") == 0)
        return reinterpret_cast<HMODULE>(&KernelModule);
    if (strcasecmp(lpModuleName, "user32.dll") == 0)
        return reinterpret_cast<HMODULE>(&UserModule);
    return strcasecmp(lpModuleName, "advapi32.dll") == 0 ? reinterpret_cast<HMODULE>(&AdvapiModule) : nullptr;
}

static UINT WINAPI FakeGetDpiForWindow(HWND)
{
    return Fake.windowDpi;
}

static BOOL WINAPI FakeSetDefaultDllDirectories(DWORD dwDirectoryFlags)
{
    Log("SetDefaultDllDirectories 0x%08x", (unsigned)dwDirectoryFlags);
    return !Fake.setDefaultDllDirectoriesFails;
}

static BOOL WINAPI FakeSetDllDirectoryA(LPCSTR lpPathName)
{
    Log("SetDllDirectoryA [%s]", lpPathName ? lpPathName : "(null)");
    return TRUE;
}

// Loads a named value of an open key as a string: a reference "@file,-id" from the string
// table, anything else as it stands. Sizes in bytes, as the real call counts them.
static LONG WINAPI FakeRegLoadMUIStringW(HKEY hKey, LPCWSTR pszValue, LPWSTR pszOutBuf, DWORD cbOutBuf,
                                         LPDWORD pcbData, DWORD Flags, LPCWSTR pszDirectory)
{
    FakeHandle *h = Handle(hKey);
    std::string name(pszValue, pszValue + wcslen(pszValue));
    Log("RegLoadMUIStringW %s [%s]", h->key.c_str(), name.c_str());
    if ((h->sam & KEY_QUERY_VALUE) == 0 || pcbData != nullptr || Flags != 0 || pszDirectory != nullptr)
        return ERROR_INVALID_PARAMETER;
    const FakeValue *value = Fake.Named(h->hRoot, h->key, name);
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    std::string text = value->data.substr(0, value->data.find('\0'));
    std::wstring result(text.begin(), text.end());
    if (text[0] == '@') {
        auto it = Fake.strings.find(text);
        if (it == Fake.strings.end())
            return ERROR_FILE_NOT_FOUND;
        result = it->second;
    }
    if ((result.size() + 1) * sizeof(WCHAR) > cbOutBuf)
        return ERROR_MORE_DATA;
    memcpy(pszOutBuf, result.c_str(), (result.size() + 1) * sizeof(WCHAR));
    return ERROR_SUCCESS;
}

UINT GetACP(void)
{
    return Fake.acp;
}

// Code page 932's double-byte characters that the fake knows.
static const struct {
    wchar_t ch;
    const char *bytes;
} Cp932[] = {{L'\u3054', "\x82\xb2"}, {L'\u307f', "\x82\xdd"}, {L'\u7bb1', "\x94\xa0"}};

// One character in the code page: its bytes, else "" (no exact form), or the look-alike
// when best fit is allowed. A wide character here is a whole code point.
static std::string CharBytes(UINT cp, unsigned long ch, bool bestFit)
{
    std::string out;
    if (cp == CP_UTF8) {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            return out;  // half a surrogate pair is no character
        static const unsigned char Lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        int extra = ch < 0x80 ? 0 : ch < 0x800 ? 1 : ch < 0x10000 ? 2 : 3;
        out += (char)(Lead[extra] | (ch >> (6 * extra)));
        for (int i = extra - 1; i >= 0; --i)
            out += (char)(0x80 | ((ch >> (6 * i)) & 0x3F));
    } else if (cp == 932) {
        if (ch < 0x80)
            out += (char)ch;
        for (const auto &c : Cp932)
            if ((unsigned long)c.ch == ch)
                out = c.bytes;
    } else if (ch < 0x100) {
        out += (char)ch;
    } else if (ch == 0x15B && bestFit) {
        out += 's';  // ś
    }
    return out;
}

std::string ToAnsi(const std::wstring &text)
{
    std::string out;
    for (wchar_t ch : text) {
        std::string bytes = CharBytes(Fake.acp, (unsigned long)ch, true);
        out += bytes.empty() ? (Fake.acp == CP_UTF8 ? "\xef\xbf\xbd" : "?") : bytes;
    }
    return out;
}

// The tests give ASCII or Latin-1 here, which every code page of the fake spells byte for byte.
std::wstring FromAnsi(const std::string &text)
{
    std::wstring out;
    for (char ch : text)
        out += (wchar_t)(unsigned char)ch;
    return out;
}

// As the platform converts: UTF-8 takes only WC_ERR_INVALID_CHARS and no default-character
// report. A buffer too small gets what fits, even half a character, and the call fails.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR, LPBOOL lpUsedDefaultChar)
{
    std::string out;
    if (CodePage != Fake.acp || cchWideChar != -1)
        return 0;
    if (CodePage == CP_UTF8 && ((dwFlags & ~WC_ERR_INVALID_CHARS) != 0 || lpUsedDefaultChar != nullptr))
        return 0;
    for (const WCHAR *p = lpWideCharStr;; ++p) {
        std::string bytes = CharBytes(CodePage, (unsigned long)*p, (dwFlags & WC_NO_BEST_FIT_CHARS) == 0);
        if (bytes.empty() && CodePage == CP_UTF8 && (dwFlags & WC_ERR_INVALID_CHARS) != 0)
            return 0;
        if (bytes.empty() && lpUsedDefaultChar != nullptr)
            *lpUsedDefaultChar = TRUE;
        out += bytes.empty() ? (CodePage == CP_UTF8 ? "\xef\xbf\xbd" : "?") : bytes;
        if (*p == 0)
            break;
    }
    if (out.size() > (size_t)cbMultiByte) {
        memcpy(lpMultiByteStr, out.data(), (size_t)cbMultiByte);
        return 0;
    }
    memcpy(lpMultiByteStr, out.data(), out.size());
    return (int)out.size();
}

LPSTR GetCommandLineA(void)
{
    static std::string line;
    Log("GetCommandLineA");
    line = ToAnsi(Fake.commandLine);
    return &line[0];
}

LPWSTR GetCommandLineW(void)
{
    return &Fake.commandLine[0];
}

// Shift-JIS lead bytes under code page 932; no other code page of the fake has any.
BOOL IsDBCSLeadByte(BYTE TestChar)
{
    return Fake.acp == 932 &&
           ((TestChar >= 0x81 && TestChar <= 0x9F) || (TestChar >= 0xE0 && TestChar <= 0xFC));
}

DWORD ExpandEnvironmentStringsA(LPCSTR lpSrc, LPSTR lpDst, DWORD nSize)
{
    std::string out;
    for (const char *p = lpSrc; *p != '\0'; ++p) {
        const char *end = *p == '%' ? strchr(p + 1, '%') : nullptr;
        auto it = end ? Fake.environment.find(std::string(p + 1, end)) : Fake.environment.end();
        if (it != Fake.environment.end()) {
            out += it->second;
            p = end;
        } else {
            out += *p;
        }
    }
    if (out.size() + 1 <= nSize)
        memcpy(lpDst, out.c_str(), out.size() + 1);
    return (DWORD)out.size() + 1;
}

static BOOL WINAPI FakePlaySoundA(LPCSTR pszSound, HMODULE, DWORD fdwSound)
{
    Log("PlaySoundA %s 0x%08x", pszSound, fdwSound);
    return TRUE;
}

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    static const char dir[] = "C:\\Windows\\system32";
    if (uSize < sizeof dir)
        return sizeof dir;
    memcpy(lpBuffer, dir, sizeof dir);
    return sizeof dir - 1;
}

static HMODULE LoadModule(LPCSTR lpLibFileName)
{
    if (strcmp(lpLibFileName, "C:\\Windows\\system32\\dwmapi.dll") == 0)
        return reinterpret_cast<HMODULE>(&DwmModule);
    if (strcmp(lpLibFileName, "C:\\Windows\\system32\\shell32.dll") == 0 && !Fake.shellMissing)
        return reinterpret_cast<HMODULE>(&ShellModule);
    bool winmm = strcmp(lpLibFileName, "C:\\Windows\\system32\\winmm.dll") == 0 && !Fake.winmmMissing;
    return winmm ? reinterpret_cast<HMODULE>(&WinmmModule) : nullptr;
}

static FakeWindow *Window(HWND hWnd);

static HRESULT WINAPI FakeDwmSetWindowAttribute(HWND hwnd, DWORD dwAttribute, LPCVOID pvAttribute, DWORD)
{
    if ((int)dwAttribute != Fake.dwmDarkAttribute)
        return (HRESULT)0x80070057;  // E_INVALIDARG
    Log("DwmSetWindowAttribute %s %u %d", Window(hwnd)->templateName.c_str(), (unsigned)dwAttribute,
        *static_cast<const BOOL *>(pvAttribute));
    return 0;
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    Log("LoadLibraryA %s", lpLibFileName);
    return LoadModule(lpLibFileName);
}

// The search flags are known where SetDefaultDllDirectories is; elsewhere the call fails.
HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE, DWORD dwFlags)
{
    Log("LoadLibraryExA %s 0x%08x", lpLibFileName, (unsigned)dwFlags);
    return dwFlags != 0 && !Fake.hasSetDefaultDllDirectories ? nullptr : LoadModule(lpLibFileName);
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    void *module = reinterpret_cast<void *>(hModule);
    if (module == &WinmmModule && strcmp(lpProcName, "PlaySoundA") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakePlaySoundA));
    if (module == &AdvapiModule && strcmp(lpProcName, "RegLoadMUIStringW") == 0 && !Fake.muiMissing)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakeRegLoadMUIStringW));
    if (module == &KernelModule && strcmp(lpProcName, "SetDefaultDllDirectories") == 0 &&
        Fake.hasSetDefaultDllDirectories)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakeSetDefaultDllDirectories));
    if (module == &KernelModule && strcmp(lpProcName, "SetDllDirectoryA") == 0 && Fake.hasSetDllDirectory)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakeSetDllDirectoryA));
    if (module == &DwmModule && strcmp(lpProcName, "DwmSetWindowAttribute") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakeDwmSetWindowAttribute));
    if (module == &UserModule && strcmp(lpProcName, "GetDpiForWindow") == 0 && Fake.windowDpi != 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FakeGetDpiForWindow));
    if (module == &ShellModule && strcmp(lpProcName, "SHGetSpecialFolderLocation") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(SHGetSpecialFolderLocation));
    if (module == &ShellModule && strcmp(lpProcName, "SHChangeNotify") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(SHChangeNotify));
    if (module == &ShellModule && strcmp(lpProcName, "ILFree") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(ILFree));
    if (module == &ShellModule && strcmp(lpProcName, "ShellExecuteExA") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(ShellExecuteExA));
    return nullptr;
}

int wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...)
{
    va_list args;
    va_start(args, lpFmt);
    int n = vsprintf(lpOut, lpFmt, args);  // the product checks its texts fit
    va_end(args);
    return n;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    Log("MessageBoxA %s|%s|%s|0x%08x", hWnd == nullptr ? "no owner" : "owned", lpCaption, lpText, uType);
    return Fake.messageBoxAnswer;
}

static FakeWindow *Window(HWND hWnd)
{
    return reinterpret_cast<FakeWindow *>(hWnd);
}

static HWND Hwnd(FakeWindow *window)
{
    return reinterpret_cast<HWND>(window);
}

FakeWindow &FakeControl(HWND hDlg, int id)
{
    FakeWindow &control = Window(hDlg)->controls[id];
    control.id = id;
    return control;
}

// Sends a WM_COMMAND to a dialog from one of its controls, if the dialog still runs.
static void Notify(HWND hDlg, int id, WORD code)
{
    FakeWindow *dialog = Window(hDlg);
    if (!dialog->ended)
        dialog->proc(hDlg, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(hDlg, id));
}

std::string FakeText(HWND hDlg, int id)
{
    return ToAnsi(FakeControl(hDlg, id).text);
}

void FakeType(HWND hDlg, int id, const std::wstring &text)
{
    FakeWindow &control = FakeControl(hDlg, id);
    control.text = control.limit != 0 ? text.substr(0, control.limit) : text;
    Notify(hDlg, id, EN_CHANGE);
}

void FakeType(HWND hDlg, int id, const std::string &text)
{
    FakeType(hDlg, id, FromAnsi(text));
}

void FakeCommand(HWND hDlg, int id, WORD code)
{
    Notify(hDlg, id, code);
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam)
{
    Log("DialogBoxParamA %s %s %s", lpTemplateName,
        reinterpret_cast<void *>(hInstance) == &ProgramModule ? "program" : "other module",
        hWndParent == nullptr ? "no owner" : "owned");
    FakeWindow dialog;
    dialog.templateName = lpTemplateName;
    dialog.owner = hWndParent;
    dialog.proc = lpDialogFunc;
    HWND hDlg = Hwnd(&dialog);
    lpDialogFunc(hDlg, WM_INITDIALOG, 0, dwInitParam);
    auto user = Fake.users.find(lpTemplateName);
    if (user != Fake.users.end() && !dialog.ended)
        user->second(hDlg);
    lpDialogFunc(hDlg, WM_DESTROY, 0, 0);
    return dialog.result;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    Log("EndDialog %s %ld", Window(hDlg)->templateName.c_str(), (long)nResult);
    Window(hDlg)->ended = true;
    Window(hDlg)->result = nResult;
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    return Hwnd(&FakeControl(hDlg, nIDDlgItem));
}

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    std::wstring text = FakeControl(hDlg, nIDDlgItem).text.substr(0, cchMax > 0 ? cchMax - 1 : 0);
    if (cchMax > 0)
        wcscpy(lpString, text.c_str());
    return (UINT)text.size();
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    Log("SetDlgItemTextA %d %s", nIDDlgItem, lpString);
    // Setting an edit field's text is not limited, and it notifies at once.
    FakeControl(hDlg, nIDDlgItem).text = FromAnsi(lpString);
    Notify(hDlg, nIDDlgItem, EN_CHANGE);
    return TRUE;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM)
{
    Log("SendDlgItemMessageA %d 0x%04x %lu", nIDDlgItem, Msg, (unsigned long)wParam);
    if (Msg == EM_LIMITTEXT)
        FakeControl(hDlg, nIDDlgItem).limit = wParam;
    return 0;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    FakeWindow *window = Window(hWnd);
    bool wasDisabled = !window->enabled;
    window->enabled = bEnable != FALSE;
    Log("EnableWindow %d %d", window->id, bEnable);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    return Window(hWnd)->enabled;
}

HWND SetFocus(HWND hWnd)
{
    Log("SetFocus %s", Window(hWnd)->templateName.c_str());
    return nullptr;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    Log("SetForegroundWindow %s", Window(hWnd)->templateName.c_str());
    Fake.foreground = hWnd;
    return TRUE;
}

HANDLE GetCurrentProcess(void)
{
    return &ThisProcess;
}

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandleOut)
{
    if ((ProcessHandle != &ThisProcess && ProcessHandle != &ShellProcess) ||
        (DesiredAccess & TOKEN_QUERY) == 0)
        return FALSE;
    ++Fake.openHandles;
    *TokenHandleOut = ProcessHandle == &ThisProcess ? &TokenHandle : &ShellToken;
    return TRUE;
}

// The elevation type and the linked token of this process's token, and any token's user.
BOOL GetTokenInformation(HANDLE hToken, TOKEN_INFORMATION_CLASS infoClass, LPVOID pInfo, DWORD cbInfo,
                         LPDWORD pcbReturned)
{
    if (infoClass == TokenUser && cbInfo >= sizeof(TOKEN_USER)) {
        bool other = hToken == &ShellToken && Fake.otherDeskUser;
        static_cast<TOKEN_USER *>(pInfo)->User.Sid = other ? &OtherUser : &ThisUser;
        return TRUE;
    }
    if (hToken != &TokenHandle || Fake.tokenQueryFails)
        return FALSE;
    if (infoClass == TokenLinkedToken && Fake.tokenType == TokenElevationTypeLimited) {
        ++Fake.openHandles;
        static_cast<TOKEN_LINKED_TOKEN *>(pInfo)->LinkedToken = &LinkedToken;
        return TRUE;
    }
    if (infoClass != TokenElevationType || cbInfo < sizeof(TOKEN_ELEVATION_TYPE))
        return FALSE;
    memcpy(pInfo, &Fake.tokenType, sizeof Fake.tokenType);
    *pcbReturned = sizeof Fake.tokenType;
    return TRUE;
}

// The guarded key's platform calls, which run under Wine: a full token may write the key.
BOOL CheckBinLabelWriteAccess(HANDLE hToken, BOOL *pfGranted)
{
    *pfGranted = hToken == &LinkedToken;
    return !Fake.fullTokenCheckFails;
}

BOOL CouldWriteForRestore(HANDLE)
{
    return Fake.holdsRestore;
}

BOOL BeginRestoreWrite(void)
{
    Log("BeginRestoreWrite");
    UseRestoreOpens(Fake.holdsRestore);
    return Fake.holdsRestore;
}

void EndRestoreWrite(void)
{
    Log("EndRestoreWrite");
    UseRestoreOpens(FALSE);
}

BOOL IsWellKnownSid(PSID pSid, int type)
{
    return pSid == &ThisUser && Fake.systemAccount && type == WinLocalSystemSid;
}

// A shell without a desktop window of its own, as Wine's, is found by its taskbar.
HWND GetShellWindow(void)
{
    return nullptr;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR)
{
    return strcmp(lpClassName, "Shell_TrayWnd") == 0 ? reinterpret_cast<HWND>(&ShellProcess) : nullptr;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId)
{
    *lpdwProcessId = hWnd == reinterpret_cast<HWND>(&ShellProcess) ? 42 : 0;
    return 1;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD dwProcessId)
{
    if (dwProcessId != 42)
        return nullptr;
    ++Fake.openHandles;
    return &ShellProcess;
}

BOOL EqualSid(PSID pSid1, PSID pSid2)
{
    return pSid1 == pSid2;
}

HWND GetActiveWindow(void)
{
    return Fake.activeWindow;
}

BOOL CloseHandle(HANDLE hObject)
{
    Log("CloseHandle %s", hObject == &CopyProcess ? "copy" : hObject == &TokenHandle ? "token" : "other");
    --Fake.openHandles;
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    static const char path[] = "C:\\Tools\\morvane.exe";
    if (hModule != nullptr || nSize < sizeof path)
        return 0;
    memcpy(lpFilename, path, sizeof path);
    return sizeof path - 1;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    Log("WaitForSingleObject %s %s", hHandle == &CopyProcess ? "copy" : "other",
        dwMilliseconds == INFINITE ? "INFINITE" : "timed");
    return 0;
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int, int, int,
                     int, HWND hWndParent, struct HMENU__ *, HINSTANCE, LPVOID)
{
    Log("CreateWindowExA %s %s ex 0x%08x style 0x%08x %s", lpClassName, lpWindowName, (unsigned)dwExStyle,
        (unsigned)dwStyle, hWndParent ? "child" : "top-level");
    FakeWindow *window = new FakeWindow;
    window->templateName = lpClassName;
    ++Fake.liveWindows;
    return Hwnd(window);
}

BOOL DestroyWindow(HWND hWnd)
{
    Log("DestroyWindow %s", Window(hWnd)->templateName.c_str());
    if (Fake.foreground == hWnd)
        Fake.foreground = nullptr;
    delete Window(hWnd);
    --Fake.liveWindows;
    return TRUE;
}

BOOL AllowSetForegroundWindow(DWORD dwProcessId)
{
    Log("AllowSetForegroundWindow %s", dwProcessId == ASFW_ANY ? "any" : "one");
    return TRUE;
}

// Starts the copy at once, as an accepted prompt does, or fails as the prompt or the start did.
BOOL ShellExecuteExA(SHELLEXECUTEINFOA *sei)
{
    Log("ShellExecuteExA %s %s params %s mask 0x%04x owner %s", sei->lpVerb ? sei->lpVerb : "(none)",
        sei->lpFile, sei->lpParameters ? sei->lpParameters : "(none)", (unsigned)sei->fMask,
        sei->hwnd == nullptr           ? "none"
        : sei->hwnd == Fake.foreground ? "in front"
                                       : "behind");
    if (sei->cbSize != sizeof *sei || Fake.shellExecuteError != 0)
        return FALSE;
    sei->hProcess = nullptr;
    if (sei->fMask & SEE_MASK_NOCLOSEPROCESS) {
        sei->hProcess = &CopyProcess;
        ++Fake.openHandles;
    }
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM)
{
    if (Msg == WM_NCACTIVATE)
        Log("WM_NCACTIVATE %s %d", Window(hWnd)->templateName.c_str(), (int)wParam);
    if (Msg == STM_SETICON)
        Window(hWnd)->icon = reinterpret_cast<HICON>(wParam);
    return 0;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    return nIndex == GWLP_USERDATA ? Window(hWnd)->userData : nIndex == DWLP_USER ? Window(hWnd)->dlgUser : 0;
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    LONG_PTR old = GetWindowLongPtrA(hWnd, nIndex);
    if (nIndex == GWLP_USERDATA)
        Window(hWnd)->userData = dwNewLong;
    if (nIndex == DWLP_USER)
        Window(hWnd)->dlgUser = dwNewLong;
    return old;
}

// An icon of the program's own, loaded at a size: each load is a new icon to destroy.
HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT)
{
    Log("LoadImageA %u %dx%d", (unsigned)(UINT_PTR)name, cx, cy);
    if (reinterpret_cast<void *>(hInst) != &ProgramModule || type != IMAGE_ICON)
        return nullptr;
    ++Fake.liveIcons;
    return new int(cx);
}

BOOL DestroyIcon(HICON hIcon)
{
    Log("DestroyIcon %d", *reinterpret_cast<int *>(hIcon));
    delete reinterpret_cast<int *>(hIcon);
    --Fake.liveIcons;
    return TRUE;
}

// As the platform copies a string resource: what fits the buffer, cut if need be.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    auto it = Fake.uiStrings.find(uID);
    if (reinterpret_cast<void *>(hInstance) != &ProgramModule || it == Fake.uiStrings.end() ||
        cchBufferMax < 1)
        return 0;
    std::wstring text = it->second.substr(0, (size_t)cchBufferMax - 1);
    wcscpy(lpBuffer, text.c_str());
    return (int)text.size();
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int, int, int, int, UINT uFlags)
{
    Log("SetWindowPos %d %s 0x%04x", Window(hWnd)->id, hWndInsertAfter == HWND_TOP ? "top" : "after", uFlags);
    return TRUE;
}

// No geometry here: the About box's placement over its owner is checked under Wine.
HWND GetWindow(HWND hWnd, UINT)
{
    return Window(hWnd)->owner;
}

BOOL GetClientRect(HWND, LPRECT)
{
    return FALSE;
}

int MapWindowPoints(HWND, HWND, LPPOINT, UINT)
{
    return 0;
}

int lstrcmpA(LPCSTR lpString1, LPCSTR lpString2)
{
    return strcmp(lpString1, lpString2);
}

BOOL SystemParametersInfoA(UINT uiAction, UINT, LPVOID pvParam, UINT)
{
    if (uiAction != SPI_GETHIGHCONTRAST)
        return FALSE;
    static_cast<HIGHCONTRASTA *>(pvParam)->dwFlags = Fake.highContrast ? HCF_HIGHCONTRASTON : 0;
    return TRUE;
}

BOOL RedrawWindow(HWND, const void *, void *, UINT)
{
    return TRUE;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    ++Fake.liveBrushes;
    return reinterpret_cast<HBRUSH>(new COLORREF(color));
}

BOOL DeleteObject(HGDIOBJ ho)
{
    delete static_cast<COLORREF *>(ho);
    --Fake.liveBrushes;
    return TRUE;
}

COLORREF SetTextColor(HDC, COLORREF)
{
    return 0;
}

COLORREF SetBkColor(HDC, COLORREF)
{
    return 0;
}

int GetSystemMetrics(int nIndex)
{
    return nIndex == SM_CXICON ? Fake.systemIconSize : 0;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    return (int)(((long long)nNumber * nNumerator + nDenominator / 2) / nDenominator);
}
