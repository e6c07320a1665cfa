// The message queue: host events become window messages with Win32's
// packing, and messages are taken, dispatched, sent and posted.
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <windows.h>

#include "standin/host/sdl_host.h"
#include "standin/process/process_state.h"
#include "standin/user32/window_registry.h"

namespace standin {
namespace {

std::deque<MSG>& Queue() {
    static std::deque<MSG> queue;
    return queue;
}

bool buttonDown = false;

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG queued{};
    queued.hwnd = window;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    queued.time = GetTickCount();
    Queue().push_back(queued);
}

// As on Win32, a move that finds the last queued input still a move of the
// same window replaces its position: moves never queue up behind a loop
// that takes one message a frame.
void PostMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    auto& queue = Queue();
    if (!queue.empty() && queue.back().message == WM_MOUSEMOVE && queue.back().hwnd == window) {
        queue.back().wParam = wParam;
        queue.back().lParam = lParam;
        queue.back().time = GetTickCount();
        return;
    }
    Post(window, WM_MOUSEMOVE, wParam, lParam);
}

bool IsInput(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_KEYDOWN ||
           message == WM_KEYUP;
}

// A quit with no window to ask ends the process the way the system ends a
// program it interrupts: through the normal exit, so exit handlers (the
// log's footer) still run, with the code a normal quit gives. Input still
// queued is dropped: a program asked to end must not first play a backlog
// of moves and clicks, one a frame.
void Quit() {
    auto& queue = Queue();
    queue.erase(std::remove_if(queue.begin(), queue.end(), [](const MSG& queued) { return IsInput(queued.message); }),
                queue.end());
    if (CloseEveryWindow() == 0) std::exit(1);
}

void PostHostEvent(const HostEvent& event) {
    if (event.kind == HostEventKind::Quit) {
        Quit();
        return;
    }
    WindowRecord* record = FindWindowByHost(event.window != nullptr ? event.window : KeyboardWindow());
    if (record != nullptr) {
        HWND window = record->handle;
        switch (event.kind) {
            case HostEventKind::Close:
                Post(window, WM_CLOSE, 0, 0);
                break;
            case HostEventKind::Move:
                HostWindowPosition(record->host, record->clientX, record->clientY);
                Post(window, WM_MOVE, 0, MAKELPARAM(record->clientX, record->clientY));
                break;
            case HostEventKind::MouseMove:
                PostMouseMove(window, buttonDown ? MK_LBUTTON : 0, MAKELPARAM(event.x, event.y));
                break;
            case HostEventKind::ButtonDown:
                buttonDown = true;
                Post(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(event.x, event.y));
                break;
            case HostEventKind::ButtonUp:
                buttonDown = false;
                Post(window, WM_LBUTTONUP, 0, MAKELPARAM(event.x, event.y));
                break;
            case HostEventKind::KeyDown:
                Post(window, WM_KEYDOWN, event.virtualKey, 1);
                break;
            case HostEventKind::KeyUp:
                Post(window, WM_KEYUP, event.virtualKey, 0xC0000001u);
                break;
            case HostEventKind::Quit:
            case HostEventKind::None:
                break;
        }
    }
}

}  // namespace

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr || record->procedure == nullptr) return 0;
    return record->procedure(window, message, wParam, lParam);
}

void DropMessagesFor(HWND window) {
    auto& queue = Queue();
    queue.erase(
        std::remove_if(queue.begin(), queue.end(), [window](const MSG& queued) { return queued.hwnd == window; }),
        queue.end());
}

void PumpHostEvents() {
    if (TakeInterrupt()) Quit();
    HostEvent event;
    while (HostPollEvent(event)) PostHostEvent(event);
}

bool TakeMessage(HWND window, MSG& message) {
    auto& queue = Queue();
    auto found = std::find_if(queue.begin(), queue.end(),
                              [window](const MSG& queued) { return window == nullptr || queued.hwnd == window; });
    if (found == queue.end()) return false;
    message = *found;
    queue.erase(found);
    return true;
}

}  // namespace standin

using namespace standin;

extern "C" {

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    if (Msg == WM_CLOSE) DestroyWindow(hWnd);
    return 0;
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr) return FALSE;
    PumpHostEvents();
    auto& queue = Queue();
    for (auto queued = queue.begin(); queued != queue.end(); ++queued) {
        bool windowMatches = hWnd == nullptr || queued->hwnd == hWnd;
        bool messageMatches = (wMsgFilterMin == 0 && wMsgFilterMax == 0) ||
                              (queued->message >= wMsgFilterMin && queued->message <= wMsgFilterMax);
        if (!windowMatches || !messageMatches) continue;
        *lpMsg = *queued;
        if ((wRemoveMsg & PM_REMOVE) != 0) queue.erase(queued);
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    return PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

// No character messages are made from keys: no window here reads WM_CHAR,
// and one more queued message a key would delay the next by a frame.
BOOL WINAPI TranslateMessage(const MSG* lpMsg) { return lpMsg != nullptr ? TRUE : FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr) return 0;
    return SendToWindow(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) { return DispatchMessageA(lpMsg); }

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return SendToWindow(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return SendToWindow(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (FindWindowRecord(hWnd) == nullptr) return FALSE;
    Post(hWnd, Msg, wParam, lParam);
    return TRUE;
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(hWnd, Msg, wParam, lParam);
}

}  // extern "C"
