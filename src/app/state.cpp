// Morvane - definitions of the program state fields, in their fixed order.

#include "app/state.h"

LabelText CurrentLabel;
LabelText NewLabel;
CHAR ErrorCaption[64];
CHAR ErrorText[128];
PathText IconPath;
PathText SoundPath;
