// Morvane - derives the command tail from the full command line.
// Units are compared unsigned, so characters above 0x7F never count as blanks.

#include "app/cmdtail.h"

// The same rules over the ANSI line's bytes and the wide line's UTF-16 units; only bytes
// can be lead bytes, and only where pfnIsLeadByte is given.
template <typename Unit>
static const Unit *SkipProgramName(const Unit *p, LEADBYTEPROC pfnIsLeadByte)
{
    if (*p == '"') {
        // A quoted name runs to the next quote. A double-byte character is taken
        // whole, so a quote in its trail byte does not end the name.
        for (++p; *p != 0 && *p != '"'; ++p) {
            if (pfnIsLeadByte != NULL && pfnIsLeadByte((BYTE)*p) && p[1] != 0)
                ++p;
        }
        if (*p == '"')
            ++p;
    } else {
        while (*p > ' ')
            ++p;
    }

    while (*p != 0 && *p <= ' ')
        ++p;
    return p;
}

LPSTR FindCommandTail(LPSTR pszLine, LEADBYTEPROC pfnIsLeadByte)
{
    return (LPSTR)SkipProgramName((const BYTE *)pszLine, pfnIsLeadByte);
}

LPCWSTR FindCommandTailW(LPCWSTR wszLine)
{
    return SkipProgramName(wszLine, NULL);
}
