#include "platform/web/display_canvas.h"

#include <emscripten/html5.h>

#include "platform/desktop/convert.h"
#include "platform/pocketpc/convert.h"

// canvas.js
extern "C" void WebCanvasPresent(const uint8_t* rgba, int32_t width, int32_t height);

namespace {

constexpr char kCanvas[] = "#canvas";

int32_t CanvasWidth(WebView view) { return view == WebView::Desktop ? kBackBufferHeight : kBackBufferWidth; }
int32_t CanvasHeight(WebView view) { return view == WebView::Desktop ? kBackBufferWidth : kBackBufferHeight; }

// The page scales the canvas by whole factors; events come in its CSS pixels.
void ToCanvasPixels(const CanvasDisplay& display, long cssX, long cssY, WebEvent& event) {
    double cssWidth = 0;
    double cssHeight = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    int32_t width = CanvasWidth(display.view);
    int32_t height = CanvasHeight(display.view);
    event.x = cssWidth > 0 ? static_cast<int32_t>(static_cast<double>(cssX) * width / cssWidth) : 0;
    event.y = cssHeight > 0 ? static_cast<int32_t>(static_cast<double>(cssY) * height / cssHeight) : 0;
}

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* mouse, void* data) {
    auto& display = *static_cast<CanvasDisplay*>(data);
    WebEvent event;
    if (eventType == EMSCRIPTEN_EVENT_MOUSEDOWN) {
        if (mouse->button != 0) return EM_FALSE;
        event.kind = WebEventKind::ButtonDown;
    } else if (eventType == EMSCRIPTEN_EVENT_MOUSEUP) {
        if (mouse->button != 0) return EM_FALSE;
        event.kind = WebEventKind::ButtonUp;
    }
    ToCanvasPixels(display, mouse->targetX, mouse->targetY, event);
    display.input.Push(event);
    return EM_FALSE;
}

// The first changed touch is the stylus; the page then sends no mouse events.
EM_BOOL OnTouch(int eventType, const EmscriptenTouchEvent* touch, void* data) {
    auto& display = *static_cast<CanvasDisplay*>(data);
    for (int i = 0; i < touch->numTouches; ++i) {
        if (!touch->touches[i].isChanged) continue;
        WebEvent event;
        if (eventType == EMSCRIPTEN_EVENT_TOUCHSTART) event.kind = WebEventKind::ButtonDown;
        if (eventType == EMSCRIPTEN_EVENT_TOUCHEND || eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL)
            event.kind = WebEventKind::ButtonUp;
        ToCanvasPixels(display, touch->touches[i].targetX, touch->touches[i].targetY, event);
        display.input.Push(event);
        return EM_TRUE;
    }
    return EM_TRUE;
}

// F belongs to the page, for full screen. The desktop program quits on
// Escape; the handheld on any key.
EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* key, void* data) {
    auto& display = *static_cast<CanvasDisplay*>(data);
    if ((key->key[0] == 'f' || key->key[0] == 'F') && key->key[1] == '\0') return EM_FALSE;
    bool escape = key->keyCode == 27;
    if (display.view == WebView::Desktop && !escape) return EM_FALSE;
    display.input.Push(WebEvent{WebEventKind::Quit, 0, 0});
    return EM_TRUE;
}

void ApplyDesktop(const WebEvent& event) {
    // As the desktop window maps its client area: the picture is turned.
    auto mapPointer = [&] {
        inputState.pointerX = event.y;
        inputState.pointerY = kBackBufferHeight - event.x;
    };
    switch (event.kind) {
        case WebEventKind::PointerMove:
            mapPointer();
            break;
        case WebEventKind::ButtonDown:
            inputState.buttonDown = 1;
            mapPointer();
            break;
        case WebEventKind::ButtonUp:
            inputState.buttonDown = 0;
            break;
        case WebEventKind::Quit:
            inputState.quit = 1;
            break;
    }
}

// The handheld's screen is the BackBuffer, and the pointer moves only when
// the stylus touches it.
void ApplyHandheld(const WebEvent& event) {
    switch (event.kind) {
        case WebEventKind::PointerMove:
            break;
        case WebEventKind::ButtonDown:
            inputState.buttonDown = 1;
            inputState.pointerX = event.x;
            inputState.pointerY = event.y;
            break;
        case WebEventKind::ButtonUp:
            inputState.buttonDown = 0;
            break;
        case WebEventKind::Quit:
            inputState.quit = 1;
            break;
    }
}

// 5- and 6-bit channels widened by repeating their top bits, so the page
// shows what the handheld's screen would.
void Widen565(const uint16_t* words, uint8_t* rgba, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        uint32_t word = words[i];
        uint32_t red = word >> 11;
        uint32_t green = (word >> 5) & 0x3F;
        uint32_t blue = word & 0x1F;
        rgba[4 * i] = static_cast<uint8_t>((red << 3) | (red >> 2));
        rgba[4 * i + 1] = static_cast<uint8_t>((green << 2) | (green >> 4));
        rgba[4 * i + 2] = static_cast<uint8_t>((blue << 3) | (blue >> 2));
        rgba[4 * i + 3] = 255;
    }
}

void ToRgba(const uint32_t* pixels, uint8_t* rgba, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        rgba[4 * i] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(pixels[i]);
        rgba[4 * i + 3] = 255;
    }
}

}  // namespace

bool CanvasDisplay::Open(InstanceHandle) {
    if (opened) return true;
    emscripten_set_mousedown_callback(kCanvas, this, EM_TRUE, OnMouse);
    emscripten_set_mousemove_callback(kCanvas, this, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnMouse);
    emscripten_set_touchstart_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchmove_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchend_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchcancel_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
    opened = true;
    return true;
}

void CanvasDisplay::PumpMessages() {
    WebEvent event;
    if (!input.Pop(event)) return;
    if (view == WebView::Desktop) {
        ApplyDesktop(event);
    } else {
        ApplyHandheld(event);
    }
}

void CanvasDisplay::Present(const uint32_t* pixels) {
    constexpr int32_t kPixels = kBackBufferWidth * kBackBufferHeight;
    if (view == WebView::Desktop) {
        TurnIntoStaging(pixels, staging, false);
        ToRgba(staging, rgba, kPixels);
    } else {
        ConvertTo565(pixels, wide565, kPixels);
        Widen565(wide565, rgba, kPixels);
    }
    WebCanvasPresent(rgba, CanvasWidth(view), CanvasHeight(view));
}

void CanvasDisplay::Close() {
    if (!opened) return;
    emscripten_html5_remove_all_event_listeners();
    opened = false;
}
