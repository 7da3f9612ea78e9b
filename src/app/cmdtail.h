// Morvane - the command tail: what follows the program's own name on its command line.
#pragma once

#include <windows.h>

typedef BOOL(WINAPI *LEADBYTEPROC)(BYTE bTest);

// Returns the part of pszLine after the program name and the blanks that follow it.
// pfnIsLeadByte tells the lead bytes of the ANSI code page (none in a single-byte one).
LPSTR FindCommandTail(LPSTR pszLine, LEADBYTEPROC pfnIsLeadByte);

// The same for the wide command line, whose UTF-16 units hold no lead bytes.
LPCWSTR FindCommandTailW(LPCWSTR wszLine);
