// The one place the desktop layer takes its system headers from. Built for
// Windows they are the SDK's; here the build puts our stand-ins' first on the
// include path.
#pragma once

#include <shlobj.h>

#include <ddraw.h>
#include <windows.h>
