// Morvane benchmark - the floor: a program built as morvane.exe is, which only ends.
// Its run is what starting any process costs, for an unchanged run to be held against.

#include <windows.h>

extern "C" void MorvaneStart(void)
{
    ExitProcess(0);
}
