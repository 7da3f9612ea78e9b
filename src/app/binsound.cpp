// Morvane - plays the sound the user has chosen for emptying the Recycle Bin.

#include "app/app.h"
#include "app/state.h"
#include "shellstore/binreg.h"

void PlayEmptyBinSound(void)
{
    CHAR szSoundFile[MAX_PATH];
    DWORD cchExpanded;

    CopyText(SoundPath, sizeof SoundPath, ReadEmptyBinSound());
    // An unreadable value or an empty one (the user chose no sound) plays nothing.
    if (SoundPath[0] == '\0' || IsNotFound(SoundPath))
        return;

    // The value is normally REG_EXPAND_SZ, such as %SystemRoot%\Media\...; a name that
    // cannot be expanded is passed as it is, and the platform plays its default sound.
    cchExpanded = ExpandEnvironmentStringsA(SoundPath, szSoundFile, sizeof szSoundFile);
    if (cchExpanded == 0 || cchExpanded > sizeof szSoundFile)
        CopyText(szSoundFile, sizeof szSoundFile, SoundPath);
    PlaySoundA(szSoundFile, NULL, SND_FILENAME);
}
