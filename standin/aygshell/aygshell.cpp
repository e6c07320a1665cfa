// The handheld shell: there is no task bar to hide on this system, so the
// full-screen request only needs a window to agree to.
#include <aygshell.h>

#include "standin/hardware/hardware.h"
#include "standin/user32/window_registry.h"

extern "C" BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD) {
    if (standin::StepFails("SHFullScreen")) return FALSE;
    return standin::FindWindowRecord(hwndRequester) != nullptr ? TRUE : FALSE;
}
