// Morvane - derives the command tail from the full command line.
// Bytes are compared unsigned, so characters above 0x7F never count as blanks.

#include "app/cmdtail.h"

LPSTR FindCommandTail(LPSTR pszLine, LEADBYTEPROC pfnIsLeadByte)
{
    LPBYTE pb = (LPBYTE)pszLine;

    if (*pb == '"') {
        // A quoted name runs to the next quote. A double-byte character is taken
        // whole, so a quote in its trail byte does not end the name.
        for (++pb; *pb != '\0' && *pb != '"'; ++pb) {
            if (pfnIsLeadByte(*pb) && pb[1] != '\0')
                ++pb;
        }
        if (*pb == '"')
            ++pb;
    } else {
        while (*pb > ' ')
            ++pb;
    }

    while (*pb != '\0' && *pb <= ' ')
        ++pb;
    return (LPSTR)pb;
}
