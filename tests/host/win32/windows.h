// Host stand-in for <windows.h>: just the types, constants and calls Morvane makes,
// backed by the fake in tests/host/fakewin.cpp.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define CALLBACK

typedef char CHAR;
typedef wchar_t WCHAR;
typedef unsigned char BYTE;
typedef BYTE *LPBYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef DWORD *LPDWORD;
typedef int32_t LONG;
typedef int BOOL;
typedef unsigned int UINT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef DWORD REGSAM;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCWSTR;
typedef BOOL *LPBOOL;
typedef const void *LPCVOID;
typedef void *LPVOID;
typedef void *HANDLE;
typedef HANDLE *PHANDLE;

typedef struct HWND__ *HWND;
typedef struct HICON__ *HICON;
typedef struct HINSTANCE__ *HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HKEY__ *HKEY;
typedef struct HDC__ *HDC;
typedef struct HBRUSH__ *HBRUSH;
typedef void *HGDIOBJ;
typedef DWORD COLORREF;
#define RGB(r, g, b) ((COLORREF)((BYTE)(r) | ((WORD)(BYTE)(g) << 8) | ((DWORD)(BYTE)(b) << 16)))
typedef HKEY *PHKEY;
typedef struct SECURITY_ATTRIBUTES *LPSECURITY_ATTRIBUTES;
typedef struct ITEMIDLIST__ *LPITEMIDLIST;
typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define TRUE             1
#define FALSE            0
#define MAX_PATH         260
#define LOWORD(l)        ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l)        ((WORD)(((UINT_PTR)(l) >> 16) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(((DWORD)(WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define SUCCEEDED(hr)    ((HRESULT)(hr) >= 0)

#define S_OK                         ((HRESULT)0)
#define E_FAIL                       ((HRESULT)0x80004005)
#define ERROR_SUCCESS                0L
#define ERROR_FILE_NOT_FOUND         2L
#define ERROR_ACCESS_DENIED          5L
#define ERROR_INVALID_HANDLE         6L
#define ERROR_INVALID_DATA           13L
#define ERROR_INVALID_PARAMETER      87L
#define ERROR_CALL_NOT_IMPLEMENTED   120L
#define ERROR_INSUFFICIENT_BUFFER    122L
#define ERROR_MORE_DATA              234L
#define ERROR_INVALID_FLAGS          1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L

#define HKEY_CLASSES_ROOT         ((HKEY)(UINT_PTR)0x80000000)
#define HKEY_CURRENT_USER         ((HKEY)(UINT_PTR)0x80000001)
#define HKEY_LOCAL_MACHINE        ((HKEY)(UINT_PTR)0x80000002)
#define REG_OPTION_BACKUP_RESTORE 0x00000004L
#define REG_OPENED_EXISTING_KEY   0x00000002L
#define KEY_QUERY_VALUE           0x0001
#define KEY_SET_VALUE             0x0002
#define KEY_WOW64_64KEY           0x0100
#define REG_NONE                  0
#define REG_SZ                    1
#define REG_EXPAND_SZ             2
#define REG_BINARY                3
#define REG_DWORD                 4

#define INFINITE             0xFFFFFFFF
#define TOKEN_QUERY          0x0008
#define WS_POPUP             0x80000000L
#define WS_VISIBLE           0x10000000L
#define WS_EX_TOOLWINDOW     0x00000080L
#define SW_SHOWNORMAL        1
#define IDOK                 1
#define IDCANCEL             2
#define MB_OK                0x00000000L
#define MB_ICONERROR         0x00000010L
#define MB_YESNO             0x00000004L
#define MB_ICONQUESTION      0x00000020L
#define IDYES                6
#define IDNO                 7
#define MB_RIGHT             0x00080000L
#define MB_RTLREADING        0x00100000L
#define WM_DESTROY           0x0002
#define WM_PAINT             0x000F
#define WM_DPICHANGED        0x02E0
#define STM_SETICON          0x0170
#define GWLP_USERDATA        (-21)
#define IMAGE_ICON           1
#define SM_CXICON            11
#define MAKEINTRESOURCEA(i)  ((LPSTR)(UINT_PTR)(WORD)(i))
#define WM_INITDIALOG        0x0110
#define WM_COMMAND           0x0111
#define EM_LIMITTEXT         0x00C5
#define EN_CHANGE            0x0300
#define SW_SHOWDEFAULT       10
#define SND_FILENAME         0x00020000L
#define CP_UTF8              65001
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE *lpData,
                    DWORD cbData);
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
LONG RegCloseKey(HKEY hKey);
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);

typedef INT_PTR(WINAPI *FARPROC)(void);

typedef enum {
    TokenElevationTypeDefault = 1,
    TokenElevationTypeFull,
    TokenElevationTypeLimited
} TOKEN_ELEVATION_TYPE;
typedef enum { TokenUser = 1, TokenElevationType = 18, TokenLinkedToken = 19 } TOKEN_INFORMATION_CLASS;
typedef struct {
    HANDLE LinkedToken;
} TOKEN_LINKED_TOKEN;
typedef void *PSID;
typedef struct {
    struct {
        PSID Sid;
    } User;
} TOKEN_USER;
#define SECURITY_MAX_SID_SIZE             68
#define PROCESS_QUERY_INFORMATION         0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define WinLocalSystemSid                 22
#define WinLocalServiceSid                23
#define WinNetworkServiceSid              24
BOOL IsWellKnownSid(PSID pSid, int WellKnownSidType);
HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);
BOOL EqualSid(PSID pSid1, PSID pSid2);
HWND GetShellWindow(void);
HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);

HANDLE GetCurrentProcess(void);
BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);
BOOL GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                         LPVOID TokenInformation, DWORD TokenInformationLength, LPDWORD ReturnLength);
BOOL CloseHandle(HANDLE hObject);
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, struct HMENU__ *hMenu, HINSTANCE hInstance,
                     LPVOID lpParam);
BOOL DestroyWindow(HWND hWnd);
#define ASFW_ANY ((DWORD)0xFFFFFFFF)
BOOL AllowSetForegroundWindow(DWORD dwProcessId);

// From <shellapi.h>, which <windows.h> includes: starting a program with a verb.
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_NOASYNC        0x00000100
#define SEE_MASK_FLAG_NO_UI     0x00000400
#define ERROR_CANCELLED         1223L

typedef struct {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
} SHELLEXECUTEINFOA;

BOOL ShellExecuteExA(SHELLEXECUTEINFOA *pExecInfo);

HMODULE GetModuleHandleA(LPCSTR lpModuleName);
UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
LPSTR GetCommandLineA(void);
LPWSTR GetCommandLineW(void);
BOOL IsDBCSLeadByte(BYTE TestChar);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
DWORD ExpandEnvironmentStringsA(LPCSTR lpSrc, LPSTR lpDst, DWORD nSize);
UINT GetACP(void);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);

int wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...);
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
HWND SetFocus(HWND hWnd);
BOOL SetForegroundWindow(HWND hWnd);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
BOOL DestroyIcon(HICON hIcon);
int GetSystemMetrics(int nIndex);
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
int lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);

// The dark mode: high contrast, the dialog colour messages and the brushes they return.
#define DWLP_USER           16
#define WM_SETTINGCHANGE    0x001A
#define WM_CTLCOLOREDIT     0x0133
#define WM_CTLCOLORDLG      0x0136
#define WM_CTLCOLORSTATIC   0x0138
#define SPI_GETHIGHCONTRAST 0x0042
#define SPI_SETHIGHCONTRAST 0x0043
#define WM_SYSCOLORCHANGE   0x0015
#define WM_THEMECHANGED     0x031A
#define HCF_HIGHCONTRASTON  0x00000001
#define RDW_INVALIDATE      0x0001
#define RDW_ERASE           0x0004
#define RDW_ALLCHILDREN     0x0080
#define RDW_FRAME           0x0400
typedef struct {
    UINT cbSize;
    DWORD dwFlags;
    LPSTR lpszDefaultScheme;
} HIGHCONTRASTA;
BOOL SystemParametersInfoA(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni);
BOOL RedrawWindow(HWND hWnd, const void *lprcUpdate, void *hrgnUpdate, UINT flags);
HBRUSH CreateSolidBrush(COLORREF color);
BOOL DeleteObject(HGDIOBJ ho);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF SetBkColor(HDC hdc, COLORREF color);
#define HWND_TOP         ((HWND)0)
#define SWP_NOSIZE       0x0001
#define SWP_NOMOVE       0x0002
#define SWP_NOZORDER     0x0004
#define SWP_NOACTIVATE   0x0010
#define SWP_FRAMECHANGED 0x0020
#define WM_NCACTIVATE    0x0086
HWND GetActiveWindow(void);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
typedef struct {
    LONG x, y;
} POINT, *LPPOINT;
typedef struct {
    LONG left, top, right, bottom;
} RECT, *LPRECT;
#define GW_OWNER 4
HWND GetWindow(HWND hWnd, UINT uCmd);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
int MulDiv(int nNumber, int nNumerator, int nDenominator);

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
