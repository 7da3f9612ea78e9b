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

BOOL CopyWideText(LPSTR pszDst, size_t cbDst, LPCWSTR wszSrc)
{
    UINT uCodePage = GetACP();
    BOOL fDefaultUsed = FALSE;
    int cbConverted;

    memset(pszDst, 0, cbDst);
    // UTF-8 spells every character, and takes no default-character report; only a broken
    // surrogate pair fails it. Every other code page is asked for exact characters only.
    if (uCodePage == CP_UTF8)
        cbConverted =
            WideCharToMultiByte(uCodePage, WC_ERR_INVALID_CHARS, wszSrc, -1, pszDst, (int)cbDst, NULL, NULL);
    else
        cbConverted = WideCharToMultiByte(uCodePage, WC_NO_BEST_FIT_CHARS, wszSrc, -1, pszDst, (int)cbDst,
                                          NULL, &fDefaultUsed);
    // A failed conversion may leave part of the text behind, even half a character.
    if (cbConverted == 0 || fDefaultUsed) {
        memset(pszDst, 0, cbDst);
        return FALSE;
    }
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
