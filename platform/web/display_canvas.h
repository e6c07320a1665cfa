// The browser's Display: the picture on the page's <canvas>, as the desktop
// program shows it (320 x 240, turned) or as the handheld does (240 x 320 in
// 5-6-5), and the page's mouse, touch and key events as that program's
// window messages would be.
#pragma once

#include <cstdint>

#include "core/platform.h"
#include "gfx/bitmap.h"
#include "platform/web/web_input.h"

enum class WebView { Desktop, Handheld };

class CanvasDisplay final : public Display {
public:
    explicit CanvasDisplay(WebView view) : view(view) {}

    bool Open(InstanceHandle instance) override;
    void PumpMessages() override;
    void Present(const uint32_t* pixels) override;
    void Close() override;

    const WebView view;
    WebInputQueue input;

private:
    bool opened = false;
    uint32_t staging[kBackBufferWidth * kBackBufferHeight] = {};
    uint16_t wide565[kBackBufferWidth * kBackBufferHeight] = {};
    uint8_t rgba[kBackBufferWidth * kBackBufferHeight * 4] = {};
};
