// The DirectDraw 7 declarations our desktop display uses, with their original
// names, types, values and method signatures.
#pragma once

#include <windows.h>

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID, IID;
typedef const GUID& REFIID;
typedef GUID* LPGUID;

extern const IID IID_IDirectDraw7;

#define DD_OK 0
#define DDERR_GENERIC ((HRESULT)0x80004005L)
#define DDERR_INVALIDPARAMS ((HRESULT)0x80070057L)
#define DDERR_INVALIDMODE ((HRESULT)0x88760078L)
#define DDERR_UNSUPPORTEDMODE ((HRESULT)0x8876024EL)
#define DDERR_NOEXCLUSIVEMODE ((HRESULT)0x887600E1L)
#define DDERR_SURFACELOST ((HRESULT)0x887601C2L)
#define DDERR_WRONGMODE ((HRESULT)0x8876024BL)
#define DDERR_NOTFOUND ((HRESULT)0x887600FFL)
#define DDERR_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define DDERR_NOCLIPPERATTACHED ((HRESULT)0x887600CDL)
#define DDERR_NOTLOCKED ((HRESULT)0x887602A8L)

#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)

#define DDSCL_FULLSCREEN 0x00000001L
#define DDSCL_NORMAL 0x00000008L
#define DDSCL_EXCLUSIVE 0x00000010L

#define DDSD_CAPS 0x00000001L
#define DDSD_HEIGHT 0x00000002L
#define DDSD_WIDTH 0x00000004L
#define DDSD_PITCH 0x00000008L
#define DDSD_BACKBUFFERCOUNT 0x00000020L
#define DDSD_LPSURFACE 0x00000800L
#define DDSD_PIXELFORMAT 0x00001000L

#define DDSCAPS_BACKBUFFER 0x00000004L
#define DDSCAPS_COMPLEX 0x00000008L
#define DDSCAPS_FLIP 0x00000010L
#define DDSCAPS_FRONTBUFFER 0x00000020L
#define DDSCAPS_OFFSCREENPLAIN 0x00000040L
#define DDSCAPS_PRIMARYSURFACE 0x00000200L

#define DDLOCK_WAIT 0x00000001L
#define DDBLT_WAIT 0x01000000L
#define DDFLIP_WAIT 0x00000001L

#define DDPF_RGB 0x00000040L

typedef struct _DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
} DDCOLORKEY;

typedef struct _DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
} DDPIXELFORMAT;

typedef struct _DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
} DDSCAPS2, *LPDDSCAPS2;

// 124 bytes where pointers are 32-bit; dwSize is what callers set, and the
// stand-in accepts either size.
typedef struct _DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwMipMapCount;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
} DDSURFACEDESC2, *LPDDSURFACEDESC2;

typedef struct _DDBLTFX DDBLTFX, *LPDDBLTFX;

struct IDirectDrawClipper;
struct IDirectDrawSurface7;
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;
typedef IDirectDrawSurface7* LPDIRECTDRAWSURFACE7;
typedef struct IUnknown* LPUNKNOWN;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IDirectDrawClipper : IUnknown {
    virtual HRESULT SetHWnd(DWORD dwFlags, HWND hWnd) = 0;

protected:
    ~IDirectDrawClipper() = default;
};

struct IDirectDrawSurface7 : IUnknown {
    virtual HRESULT Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE7 lpDDSrcSurface, LPRECT lpSrcRect, DWORD dwFlags,
                        LPDDBLTFX lpDDBltFx) = 0;
    virtual HRESULT Flip(LPDIRECTDRAWSURFACE7 lpDDSurfaceTargetOverride, DWORD dwFlags) = 0;
    virtual HRESULT GetAttachedSurface(LPDDSCAPS2 lpDDSCaps, LPDIRECTDRAWSURFACE7* lplpDDAttachedSurface) = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT Lock(LPRECT lpDestRect, LPDDSURFACEDESC2 lpDDSurfaceDesc, DWORD dwFlags, HANDLE hEvent) = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(LPDIRECTDRAWCLIPPER lpDDClipper) = 0;
    virtual HRESULT Unlock(LPRECT lpRect) = 0;

protected:
    ~IDirectDrawSurface7() = default;
};

struct IDirectDraw7 : IUnknown {
    virtual HRESULT CreateClipper(DWORD dwFlags, LPDIRECTDRAWCLIPPER* lplpDDClipper, IUnknown* pUnkOuter) = 0;
    virtual HRESULT CreateSurface(LPDDSURFACEDESC2 lpDDSurfaceDesc2, LPDIRECTDRAWSURFACE7* lplpDDSurface,
                                  IUnknown* pUnkOuter) = 0;
    virtual HRESULT GetDisplayMode(LPDDSURFACEDESC2 lpDDSurfaceDesc2) = 0;
    virtual HRESULT SetCooperativeLevel(HWND hWnd, DWORD dwFlags) = 0;
    virtual HRESULT SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP, DWORD dwRefreshRate, DWORD dwFlags) = 0;

protected:
    ~IDirectDraw7() = default;
};
typedef IDirectDraw7* LPDIRECTDRAW7;

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI DirectDrawCreateEx(GUID* lpGuid, LPVOID* lplpDD, REFIID iid, IUnknown* pUnkOuter);

#ifdef __cplusplus
}
#endif
