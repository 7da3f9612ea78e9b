// Morvane - plays the sound the user has chosen for emptying the Recycle Bin.
// WINMM is loaded by its full path in the system directory, and only when a sound plays,
// so a command-line rename never pays for it (its start-up enumerates the audio codecs).

#include "app/app.h"
#include "app/state.h"
#include "shellstore/binreg.h"

#include <string.h>

typedef BOOL(WINAPI *PLAYSOUNDPROC)(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);

static PLAYSOUNDPROC FindPlaySound(void)
{
    HMODULE hWinmm = LoadSystemLibrary("winmm.dll");
    // Through a generic function pointer, the way GetProcAddress results are meant to be cast.
    return hWinmm ? (PLAYSOUNDPROC)(void (*)(void))GetProcAddress(hWinmm, "PlaySoundA") : NULL;
}

void PlayEmptyBinSound(void)
{
    CHAR szSoundFile[MAX_PATH];
    DWORD cchExpanded;
    PLAYSOUNDPROC pfnPlaySound;

    CopyText(SoundPath, sizeof SoundPath, ReadEmptyBinSound());
    // An unreadable value or an empty one (the user chose no sound) plays nothing.
    if (SoundPath[0] == '\0' || IsNotFound(SoundPath))
        return;

    // The value is normally REG_EXPAND_SZ, such as %SystemRoot%\Media\...; a name that
    // cannot be expanded is passed as it is, and the platform plays its default sound.
    cchExpanded = ExpandEnvironmentStringsA(SoundPath, szSoundFile, sizeof szSoundFile);
    if (cchExpanded == 0 || cchExpanded > sizeof szSoundFile)
        CopyText(szSoundFile, sizeof szSoundFile, SoundPath);
    pfnPlaySound = FindPlaySound();
    if (pfnPlaySound != NULL)
        pfnPlaySound(szSoundFile, NULL, SND_FILENAME);
}
