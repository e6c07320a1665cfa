// The handheld game display library's declarations our handheld display
// uses, with their original names, types and values.
#pragma once

#include <windows.h>

#define GX_FULLSCREEN 0x01
#define GX_NORMALKEYS 0x02
#define GX_LANDSCAPEKEYS 0x03

#define kfLandscape 0x8
#define kfPalette 0x10
#define kfDirect 0x20
#define kfDirect555 0x40
#define kfDirect565 0x80
#define kfDirect888 0x100
#define kfDirect444 0x200
#define kfDirectInverted 0x400

struct GXDisplayProperties {
    DWORD cxWidth;
    DWORD cyHeight;
    LONG cbxPitch;  // bytes from a pixel to its right-hand neighbour
    LONG cbyPitch;  // bytes from a pixel to the one below it
    LONG cBPP;
    DWORD ffFormat;
};

struct GXKeyList {
    short vkUp;
    POINT ptUp;
    short vkDown;
    POINT ptDown;
    short vkLeft;
    POINT ptLeft;
    short vkRight;
    POINT ptRight;
    short vkA;
    POINT ptA;
    short vkB;
    POINT ptB;
    short vkC;
    POINT ptC;
    short vkStart;
    POINT ptStart;
};

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI GXOpenDisplay(HWND hWnd, DWORD dwFlags);
int WINAPI GXCloseDisplay(void);
void* WINAPI GXBeginDraw(void);
int WINAPI GXEndDraw(void);
GXDisplayProperties WINAPI GXGetDisplayProperties(void);
GXKeyList WINAPI GXGetDefaultKeys(int iOptions);

#ifdef __cplusplus
}
#endif
