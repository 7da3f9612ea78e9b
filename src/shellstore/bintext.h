// Morvane - fixed-width texts shared by the registry accessors and the program state.
// Every width counts bytes and includes the terminating NUL.
#pragma once

#include <stddef.h>
#include <windows.h>

typedef CHAR LabelText[49];  // a Recycle Bin label: at most 48 bytes of text
typedef CHAR PathText[256];  // a file path or icon location: at most 255 bytes

static_assert(sizeof(LabelText) == 49, "a label field holds 48 bytes and a NUL");
static_assert(sizeof(PathText) == 256, "a path field holds 255 bytes and a NUL");

// What every registry accessor returns in place of a value when a step fails.
extern const CHAR NotFoundMarker[];

// Copies pszSrc and its NUL into the cbDst bytes at pszDst and zero-fills the rest.
// A text that does not fit is not copied: pszDst is left all zero and FALSE returned.
BOOL CopyText(LPSTR pszDst, size_t cbDst, LPCSTR pszSrc);

// Converts wszSrc and its NUL to the ANSI code page, into the cbDst bytes at pszDst, and
// zero-fills the rest. Only an exact text counts: where a character has no exact form (no
// look-alike, no default character) or the whole does not fit, pszDst is left all zero and
// FALSE returned, so no cut or changed text is ever taken for the original.
BOOL CopyWideText(LPSTR pszDst, size_t cbDst, LPCWSTR wszSrc);

// Exact byte-by-byte equality, up to and including the NUL: no case folding, no locale.
BOOL IsSameText(LPCSTR pszA, LPCSTR pszB);

// TRUE when a text is the failure marker (or a stored value that reads the same).
BOOL IsNotFound(LPCSTR pszText);
