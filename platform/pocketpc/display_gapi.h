// The handheld Display: a full-screen window, the shell's task bar hidden,
// and every frame converted to 5-6-5 straight into the GAPI frame buffer.
#pragma once

#include "core/platform.h"
#include "platform/pocketpc/wince.h"

class PocketPcDisplay final : public Display {
public:
    bool Open(InstanceHandle instance) override;
    void PumpMessages() override;
    void Present(const uint32_t* pixels) override;
    void Close() override;

    GXKeyList keys = {};
    GXDisplayProperties properties = {};
    HWND window = nullptr;

private:
    bool opened = false;
};
