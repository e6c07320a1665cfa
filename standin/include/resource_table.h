// How a program's resources reach the stand-in. On Windows the resource
// compiler puts them into the executable and DialogBoxParamA finds them by
// id; here the program links one table of them, defined in a file of its own
// that a Windows build would replace by its resource script.
#pragma once

#include <windows.h>

#define RT_DIALOG 5

typedef struct tagRESOURCE_ENTRY {
    WORD type;  // RT_DIALOG, ...
    WORD id;
    const BYTE* data;
    DWORD size;
} RESOURCE_ENTRY;

#ifdef __cplusplus
extern "C" {
#endif

// Ends with an entry whose data is null. A program without resources links
// none; the stand-in then finds nothing.
extern const RESOURCE_ENTRY g_moduleResources[];

#ifdef __cplusplus
}
#endif
