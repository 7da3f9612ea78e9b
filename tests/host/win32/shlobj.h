// Host stand-in for <shlobj.h>: the shell calls Morvane makes.
#pragma once

#include <windows.h>

#define CSIDL_DESKTOP      0x0000
#define SHCNE_UPDATEDIR    0x00001000L
#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNF_IDLIST       0x0000
#define SHCNF_PATHA        0x0001
#define SHCNF_FLUSHNOWAIT  0x3000

HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST *ppidl);
void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID dwItem2);
void ILFree(LPITEMIDLIST pidl);
