// The one place the handheld layer takes its system headers from. Built for
// the device they are the SDK's; here the build puts our stand-ins' first on
// the include path.
#pragma once

#include <shlobj.h>

#include <aygshell.h>
#include <gx.h>
#include <windows.h>
