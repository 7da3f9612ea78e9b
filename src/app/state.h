// Morvane - the program state: six fixed-width text fields that live for the whole run.
// Written only by WinMain, the editor's procedure and the label change.
#pragma once

#include "shellstore/bintext.h"

extern LabelText CurrentLabel;  // the stored label, or the marker; the editor's: the name shown
extern LabelText NewLabel;      // the label taken from the editor's edit field
extern CHAR ErrorCaption[64];   // caption of an error box
extern CHAR ErrorText[128];     // text of an error box
extern PathText IconPath;       // the icon location during a change
extern PathText SoundPath;      // the Empty Recycle Bin sound file name
