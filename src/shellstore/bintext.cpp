// Morvane - bounded copy and exact comparison of the fixed-width texts.
// Comparisons are byte by byte so that a change of case is a change of label.

#include "shellstore/bintext.h"

#include <string.h>

const CHAR NotFoundMarker[] = "NOT_FOUND";

BOOL CopyText(LPSTR pszDst, size_t cbDst, LPCSTR pszSrc)
{
    size_t cbSrc = strlen(pszSrc) + 1;

    memset(pszDst, 0, cbDst);
    if (cbSrc > cbDst)
        return FALSE;
    memcpy(pszDst, pszSrc, cbSrc);
    return TRUE;
}

BOOL IsSameText(LPCSTR pszA, LPCSTR pszB)
{
    return strcmp(pszA, pszB) == 0;
}

BOOL IsNotFound(LPCSTR pszText)
{
    return IsSameText(pszText, NotFoundMarker);
}
