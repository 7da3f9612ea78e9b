// Host stand-in for the Win32 calls Morvane makes: an in-memory registry that can fail
// any one step, fake dialogs, and a log of every call that reaches the platform.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#define BIN_KEY   "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"
#define ICON_KEY  BIN_KEY "\\DefaultIcon"
#define SOUND_KEY "AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current"
#define USER_KEY  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\" BIN_KEY
#define LOCALIZED "LocalizedString"
// What Windows keeps in LocalizedString: the bin's name in the user's language.
#define SYSTEM_NAME "@%SystemRoot%\\system32\\shell32.dll,-8964"

struct FakeValue {
    DWORD type;
    std::string data;  // the raw bytes, NULs included
};

struct FakeKey {
    bool hasDefault = false;
    FakeValue value{REG_NONE, {}};
    std::map<std::string, FakeValue> named;  // values with a name
    bool readOnly = false;                   // an open or create for writing is denied
};

enum FakeStep { FAIL_NONE, FAIL_OPEN, FAIL_QUERY, FAIL_CREATE, FAIL_SET, FAIL_DELETE, FAIL_CLOSE };

struct FakeWindow {
    int id = 0;                // controls only
    std::string templateName;  // dialogs only
    HWND owner = nullptr;
    DLGPROC proc = nullptr;
    std::wstring text;  // as a Unicode control holds it
    bool enabled = true;
    size_t limit = 0;       // EM_LIMITTEXT in characters, 0 for none
    HICON icon = nullptr;   // STM_SETICON
    LONG_PTR userData = 0;  // GWLP_USERDATA
    LONG_PTR dlgUser = 0;   // DWLP_USER
    std::map<int, FakeWindow> controls;
    bool ended = false;
    INT_PTR result = -1;
};

// A scripted user: called inside DialogBoxParamA after WM_INITDIALOG, until it returns.
typedef std::function<void(HWND hDlg)> FakeUser;

struct FakeWin {
    std::map<std::pair<HKEY, std::string>, FakeKey> keys;
    FakeStep failStep = FAIL_NONE;
    std::string failKey;  // the step fails only for this key path; empty for every key
    LONG failStatus = ERROR_ACCESS_DENIED;
    int openKeys = 0;
    bool desktopLookupFails = false;
    bool winmmMissing = false;
    bool shellMissing = false;
    bool muiMissing = false;  // no RegLoadMUIStringW, as before Vista
    // The ANSI code page: 1252 spells U+0000 to U+00FF, and ś only as its look-alike s;
    // 932 spells ASCII and ごみ箱; 65001 is UTF-8.
    UINT acp = 1252;
    std::wstring commandLine = L"morvane.exe";  // the process's own line; its ANSI form follows acp
    bool hasSetDefaultDllDirectories = true;    // Windows 8, or 7 with KB2533623
    bool setDefaultDllDirectoriesFails = false;
    bool hasSetDllDirectory = true;  // XP SP1 and later
    UINT windowDpi = 96;             // GetDpiForWindow's answer; 0: no such call, before Windows 10 1607
    int systemIconSize = 32;         // GetSystemMetrics(SM_CXICON)
    int liveIcons = 0;               // icons loaded and not yet destroyed
    // String resources that RegLoadMUIStringW resolves, by reference; Wine names the bin Trash.
    std::map<std::string, std::wstring> strings{{SYSTEM_NAME, L"Trash"}};
    // The program's string resources, as the resource loader picks them for the user's display
    // language; English unless a test says otherwise.
    std::map<UINT, std::wstring> uiStrings{{1, L"Application Error"},
                                           {2, L"Error reading system registry entry."},
                                           {3, L"Error writing system registry entry."}};
    int messageBoxAnswer = IDOK;  // the button the user presses in a message box
    bool highContrast = false;
    int dwmDarkAttribute = 20;  // the title bar attribute DWM takes: 19 before 20H1, 0 before 1809
    int liveBrushes = 0;        // brushes made and not yet deleted
    TOKEN_ELEVATION_TYPE tokenType = TokenElevationTypeDefault;
    bool tokenQueryFails = false;      // as before Vista, where the class is unknown
    bool fullTokenCheckFails = false;  // a filtered token's linked one may write the class key, or that fails
    bool otherDeskUser = false;        // the shell runs as another user than this process
    bool holdsRestore = false;         // the token holds the restore privilege
    bool systemAccount = false;        // this process runs as LocalSystem
    HWND activeWindow = nullptr;
    DWORD shellExecuteError = 0;  // why ShellExecuteExA fails; 0: the copy starts
    int openHandles = 0;          // tokens and process handles not yet closed
    int liveWindows = 0;          // windows created and not yet destroyed
    HWND foreground = nullptr;
    std::map<std::string, std::string> environment;
    std::map<std::string, FakeUser> users;  // by template name
    std::vector<std::string> log;           // one line per platform call, in order

    void Reset();
    void SetDefault(HKEY hRoot, const std::string &key, DWORD type, const std::string &data);
    void SetDefault(HKEY hRoot, const std::string &key, const char *text);  // REG_SZ with its NUL
    void SetNamed(HKEY hRoot, const std::string &key, const std::string &name, const char *text);
    void RemoveKey(HKEY hRoot, const std::string &key);
    const FakeValue *Default(HKEY hRoot, const std::string &key) const;
    const FakeValue *Named(HKEY hRoot, const std::string &key, const std::string &name) const;
    bool HasKey(HKEY hRoot, const std::string &key) const;
    std::vector<std::string> Calls(const std::string &prefix) const;  // log lines that start so
};

extern FakeWin Fake;

// Texts between the fake's ANSI code page and wide characters; ToAnsi as the platform's
// default conversion does it, with look-alikes and ? for what the code page cannot spell,
// FromAnsi for the ASCII and Latin-1 that the tests give.
std::string ToAnsi(const std::wstring &text);
std::wstring FromAnsi(const std::string &text);

// Control of a fake dialog, as the scripted user sees it.
FakeWindow &FakeControl(HWND hDlg, int id);
std::string FakeText(HWND hDlg, int id);                     // its text in the ANSI code page
void FakeType(HWND hDlg, int id, const std::wstring &text);  // replaces the text, as a user would
void FakeType(HWND hDlg, int id, const std::string &text);   // the same, typed in the ANSI code page
void FakeCommand(HWND hDlg, int id, WORD code = 0);          // a WM_COMMAND from a control

// Ways a rename can fail once its text was accepted: the label is not stored, or a name
// the shell prefers to it cannot be removed.
struct RenameFailure {
    const char *name;
    FakeStep step;
    const char *key;
};

inline const RenameFailure RenameFailures[] = {
    {"label cannot be stored", FAIL_CREATE, BIN_KEY},
    {"LocalizedString cannot be removed", FAIL_DELETE, BIN_KEY},
    {"the user's own name cannot be removed", FAIL_DELETE, USER_KEY},
};

// Texts the ANSI code page may not spell: with UTF-8 every one is exact; in another code
// page one it cannot spell exactly is refused, as one too long for a label is.
struct SpellingCase {
    const char *name;
    UINT acp;
    std::wstring text;
    bool exact;
};

inline const SpellingCase SpellingCases[] = {
    {"1252: Latin-1 is spelt", 1252, L"Corbeille \u00e0 papier", true},
    {"1252: Cyrillic is refused", 1252, L"\u041a\u043e\u0440\u0437\u0438\u043d\u0430", false},
    {"1252: a best-fit look-alike is refused", 1252, L"Kosz na \u015bmieci", false},
    {"932: a Japanese name is spelt", 932, L"\u3054\u307f\u7bb1", true},
    {"UTF-8: Cyrillic, emoji and accents are spelt", CP_UTF8,
     L"\u041a\u043e\u0440\u0437\u0438\u043d\u0430 \U0001F5D1 \u00dcn\u00efc\u00f8d\u00e9", true},
    {"UTF-8: 24 Cyrillic letters fill 48 bytes", CP_UTF8, std::wstring(24, L'\u0436'), true},
    {"UTF-8: 25 Cyrillic letters do not fit", CP_UTF8, std::wstring(25, L'\u0436'), false},
    {"UTF-8: half a surrogate pair is refused", CP_UTF8, L"Bin \xd83d", false},
};
