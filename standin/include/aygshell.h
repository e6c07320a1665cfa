// The handheld shell's full-screen call, with its original name and values.
#pragma once

#include <windows.h>

#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState);

#ifdef __cplusplus
}
#endif
