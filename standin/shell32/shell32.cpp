// The shell's known folders as a Linux user has them: the folder a program
// keeps its own state in, roaming or local, is $XDG_STATE_HOME, by default
// ~/.local/state.
#include <shlobj.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

// The base directory as the XDG rules have it: a relative value is ignored.
std::string StateHome() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return state;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return "";
    return std::string(home) + "/.local/state";
}

// mkdir -p, private to the user as the XDG rules ask.
bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

bool KnownFolder(int csidl, std::string& folder) {
    int which = csidl & ~CSIDL_FLAG_CREATE;
    if (which != CSIDL_APPDATA && which != CSIDL_LOCAL_APPDATA) return false;
    folder = StateHome();
    if (folder.empty() || folder.size() >= MAX_PATH) return false;
    return (csidl & CSIDL_FLAG_CREATE) == 0 || MakeFolders(folder);
}

}  // namespace

extern "C" {

HRESULT WINAPI SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath) {
    if (pszPath == nullptr) return E_FAIL;
    pszPath[0] = '\0';
    std::string folder;
    if (!KnownFolder(csidl, folder)) return E_FAIL;
    std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
    return S_OK;
}

// The wide path converts back to the same bytes (kernel32's conversion).
BOOL WINAPI SHGetSpecialFolderPathW(HWND, LPWSTR lpszPath, int nFolder, BOOL fCreate) {
    if (lpszPath == nullptr) return FALSE;
    lpszPath[0] = 0;
    std::string folder;
    if (!KnownFolder(nFolder | (fCreate ? CSIDL_FLAG_CREATE : 0), folder)) return FALSE;
    int length = MultiByteToWideChar(0, 0, folder.c_str(), -1, lpszPath, MAX_PATH);
    return length > 0 ? TRUE : FALSE;
}

}  // extern "C"
