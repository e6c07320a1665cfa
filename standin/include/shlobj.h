// The shell's known folders, as our platform code asks for them: the desktop's
// SHGetFolderPathA and the handheld's SHGetSpecialFolderPathW.
#pragma once

#include <windows.h>

#define CSIDL_APPDATA 0x001a
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_FLAG_CREATE 0x8000
#define SHGFP_TYPE_CURRENT 0

#ifdef __cplusplus
extern "C" {
#endif

// Fills pszPath (MAX_PATH characters) and returns S_OK, or E_FAIL.
HRESULT WINAPI SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);
BOOL WINAPI SHGetSpecialFolderPathW(HWND hwndOwner, LPWSTR lpszPath, int nFolder, BOOL fCreate);

#ifdef __cplusplus
}
#endif
