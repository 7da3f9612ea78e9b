// Morvane - the process entry point of the Windows build.
// It needs no runtime library's start-up code: RunProgram derives the tail itself.

#include "app/app.h"

extern "C" void MorvaneStart(void)
{
    ExitProcess((UINT)RunProgram());
}
