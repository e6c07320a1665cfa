// The handheld's game display library: a frame buffer laid out as the
// hardware settings describe it (a 240 x 320 portrait 5-6-5 screen unless
// told otherwise), shown in the display's window when a frame is ended.
#include <cstdlib>
#include <gx.h>
#include <vector>

#include "standin/gx/handheld_screen.h"
#include "standin/hardware/hardware.h"
#include "standin/host/sdl_host.h"
#include "standin/user32/window_registry.h"

namespace standin {
namespace {

struct FrameBuffer {
    HWND window = nullptr;
    bool open = false;
    bool drawing = false;
    std::vector<uint8_t> memory;
    size_t origin = 0;  // the byte of pixel (0, 0); pitches may run backwards
    std::vector<uint16_t> shown;
};

FrameBuffer& TheFrameBuffer() {
    static FrameBuffer frameBuffer;
    return frameBuffer;
}

void Allocate(FrameBuffer& frameBuffer) {
    const Hardware& hardware = TheHardware();
    size_t xExtent = static_cast<size_t>(std::abs(hardware.handheldXPitch)) * hardware.handheldWidth;
    size_t yExtent = static_cast<size_t>(std::abs(hardware.handheldYPitch)) * hardware.handheldHeight;
    frameBuffer.memory.assign(xExtent + yExtent + 2, 0);
    frameBuffer.origin = 0;
    if (hardware.handheldXPitch < 0) frameBuffer.origin += xExtent - std::abs(hardware.handheldXPitch);
    if (hardware.handheldYPitch < 0) frameBuffer.origin += yExtent - std::abs(hardware.handheldYPitch);
}

uint16_t WordAt(const FrameBuffer& frameBuffer, int32_t x, int32_t y) {
    const Hardware& hardware = TheHardware();
    const uint8_t* at = frameBuffer.memory.data() + frameBuffer.origin +
                        static_cast<ptrdiff_t>(x) * hardware.handheldXPitch +
                        static_cast<ptrdiff_t>(y) * hardware.handheldYPitch;
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

}  // namespace

const uint16_t* HandheldScreen() {
    FrameBuffer& frameBuffer = TheFrameBuffer();
    const Hardware& hardware = TheHardware();
    frameBuffer.shown.resize(static_cast<size_t>(hardware.handheldWidth) * hardware.handheldHeight);
    if (frameBuffer.memory.empty()) return frameBuffer.shown.data();
    for (int32_t y = 0; y < hardware.handheldHeight; ++y)
        for (int32_t x = 0; x < hardware.handheldWidth; ++x)
            frameBuffer.shown[static_cast<size_t>(y) * hardware.handheldWidth + x] = WordAt(frameBuffer, x, y);
    return frameBuffer.shown.data();
}

}  // namespace standin

using namespace standin;

extern "C" {

GXDisplayProperties WINAPI GXGetDisplayProperties(void) {
    const Hardware& hardware = TheHardware();
    GXDisplayProperties properties = {};
    properties.cxWidth = static_cast<DWORD>(hardware.handheldWidth);
    properties.cyHeight = static_cast<DWORD>(hardware.handheldHeight);
    properties.cbxPitch = hardware.handheldXPitch;
    properties.cbyPitch = hardware.handheldYPitch;
    properties.cBPP = hardware.handheldBitsPerPixel;
    properties.ffFormat = hardware.handheldBitsPerPixel == 16 ? kfDirect | kfDirect565 : kfDirect;
    if (hardware.handheldWidth > hardware.handheldHeight) properties.ffFormat |= kfLandscape;
    return properties;
}

GXKeyList WINAPI GXGetDefaultKeys(int) {
    GXKeyList keys = {};
    keys.vkUp = VK_UP;
    keys.vkDown = VK_DOWN;
    keys.vkLeft = VK_LEFT;
    keys.vkRight = VK_RIGHT;
    keys.vkA = 'A';
    keys.vkB = 'B';
    keys.vkC = 'C';
    keys.vkStart = VK_RETURN;
    return keys;
}

int WINAPI GXOpenDisplay(HWND hWnd, DWORD) {
    if (StepFails("GXOpenDisplay") || FindWindowRecord(hWnd) == nullptr) return 0;
    FrameBuffer& frameBuffer = TheFrameBuffer();
    frameBuffer.window = hWnd;
    frameBuffer.open = true;
    Allocate(frameBuffer);
    return 1;
}

int WINAPI GXCloseDisplay(void) {
    FrameBuffer& frameBuffer = TheFrameBuffer();
    if (!frameBuffer.open) return 0;
    frameBuffer = FrameBuffer{};
    return 1;
}

// No address while another program is in front: here, when told to fail.
void* WINAPI GXBeginDraw(void) {
    FrameBuffer& frameBuffer = TheFrameBuffer();
    if (!frameBuffer.open || StepFails("GXBeginDraw")) return nullptr;
    frameBuffer.drawing = true;
    return frameBuffer.memory.data() + frameBuffer.origin;
}

int WINAPI GXEndDraw(void) {
    FrameBuffer& frameBuffer = TheFrameBuffer();
    if (!frameBuffer.drawing) return 0;
    frameBuffer.drawing = false;
    WindowRecord* record = FindWindowRecord(frameBuffer.window);
    const Hardware& hardware = TheHardware();
    if (record != nullptr && hardware.handheldBitsPerPixel == 16) {
        HostPresent(record->host, HandheldScreen(), hardware.handheldWidth * 2, HostPixelFormat::Rgb565,
                    hardware.handheldWidth, hardware.handheldHeight);
    }
    return 1;
}

}  // extern "C"
