// The dialog manager: builds a modal dialog box from its extended template
// and runs it by the usual rules. Tab moves the focus through the tab-stop
// controls in template order, Space clicks the focused control, Enter clicks
// the focused push button or else the default one, Escape and the close box
// send IDCANCEL, and automatic check boxes tick themselves when clicked.
#include <resource_table.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "standin/dialog/dialog_template.h"
#include "standin/host/host_capture.h"
#include "standin/host/sdl_host.h"
#include "standin/user32/window_registry.h"

// A program without resources links no table of its own.
extern "C" __attribute__((weak)) const RESOURCE_ENTRY g_moduleResources[] = {{0, 0, nullptr, 0}};

namespace standin {
namespace {

// Dialog units to pixels for an 8-point face: a quarter of the average
// character width across, an eighth of its height down.
constexpr int32_t kBaseUnitX = 7;
constexpr int32_t kBaseUnitY = 15;
constexpr int32_t kTextPixels = 12;

constexpr uint32_t kFaceColour = 0xFFECE9D8;
constexpr uint32_t kTextColour = 0xFF000000;
constexpr uint32_t kLightColour = 0xFFFFFFFF;
constexpr uint32_t kShadowColour = 0xFF808080;
constexpr uint32_t kDarkColour = 0xFF404040;
constexpr uint32_t kBoxColour = 0xFFFFFFFF;

enum class ControlKind { PushButton, DefaultButton, CheckBox, Other };

struct Control {
    HWND handle = nullptr;
    DWORD id = 0;
    ControlKind kind = ControlKind::Other;
    bool tabStop = false;
    std::string text;
    RECT area{};  // in the dialog's client pixels
    bool checked = false;
};

struct Dialog {
    HWND handle = nullptr;
    DLGPROC procedure = nullptr;
    std::vector<Control> controls;
    int32_t width = 0;
    int32_t height = 0;
    int focus = -1;    // index into controls
    int pressed = -1;  // a control the button went down on
    bool ended = false;
    INT_PTR result = 0;
    std::vector<uint32_t> pixels;
};

std::vector<Dialog*>& OpenDialogs() {
    static std::vector<Dialog*> dialogs;
    return dialogs;
}

Dialog* FindDialog(HWND handle) {
    for (Dialog* dialog : OpenDialogs())
        if (dialog->handle == handle) return dialog;
    return nullptr;
}

Control* FindControl(Dialog& dialog, int id) {
    for (Control& control : dialog.controls)
        if (control.id == static_cast<DWORD>(id)) return &control;
    return nullptr;
}

ControlKind KindOf(const DialogItem& item) {
    bool isButton = item.windowClass.isOrdinal && item.windowClass.ordinal == kButtonClassOrdinal;
    if (!isButton) return ControlKind::Other;
    switch (item.style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
            return ControlKind::PushButton;
        case BS_DEFPUSHBUTTON:
            return ControlKind::DefaultButton;
        case BS_AUTOCHECKBOX:
        case BS_CHECKBOX:
            return ControlKind::CheckBox;
        default:
            return ControlKind::Other;
    }
}

void FillRect(Dialog& dialog, const RECT& area, uint32_t colour) {
    for (LONG y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, dialog.height); ++y)
        for (LONG x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, dialog.width); ++x)
            dialog.pixels[static_cast<size_t>(y) * dialog.width + x] = colour;
}

void Frame(Dialog& dialog, const RECT& area, uint32_t topLeft, uint32_t bottomRight) {
    FillRect(dialog, {area.left, area.top, area.right, area.top + 1}, topLeft);
    FillRect(dialog, {area.left, area.top, area.left + 1, area.bottom}, topLeft);
    FillRect(dialog, {area.left, area.bottom - 1, area.right, area.bottom}, bottomRight);
    FillRect(dialog, {area.right - 1, area.top, area.right, area.bottom}, bottomRight);
}

void DottedFrame(Dialog& dialog, const RECT& area) {
    for (LONG x = area.left; x < area.right; x += 2) {
        FillRect(dialog, {x, area.top, x + 1, area.top + 1}, kTextColour);
        FillRect(dialog, {x, area.bottom - 1, x + 1, area.bottom}, kTextColour);
    }
    for (LONG y = area.top; y < area.bottom; y += 2) {
        FillRect(dialog, {area.left, y, area.left + 1, y + 1}, kTextColour);
        FillRect(dialog, {area.right - 1, y, area.right, y + 1}, kTextColour);
    }
}

void Text(Dialog& dialog, int32_t x, int32_t y, const std::string& text) {
    HostDrawText(dialog.pixels.data(), dialog.width, dialog.height, x, y, text.c_str(), kTextPixels, kTextColour);
}

void DrawButton(Dialog& dialog, const Control& control, bool focused) {
    RECT area = control.area;
    bool down = dialog.pressed >= 0 && &dialog.controls[dialog.pressed] == &control;
    if (control.kind == ControlKind::DefaultButton || focused) {
        Frame(dialog, area, kTextColour, kTextColour);
        area = {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    }
    Frame(dialog, area, down ? kShadowColour : kLightColour, down ? kLightColour : kDarkColour);
    int32_t textWidth = HostTextWidth(control.text.c_str(), kTextPixels);
    int32_t textX = (control.area.left + control.area.right - textWidth) / 2 + (down ? 1 : 0);
    int32_t textY = (control.area.top + control.area.bottom - kTextPixels) / 2 - 2 + (down ? 1 : 0);
    Text(dialog, textX, textY, control.text);
    if (focused) DottedFrame(dialog, {area.left + 3, area.top + 3, area.right - 3, area.bottom - 3});
}

void DrawCheckBox(Dialog& dialog, const Control& control, bool focused) {
    int32_t middle = (control.area.top + control.area.bottom) / 2;
    RECT box{control.area.left, middle - 6, control.area.left + 13, middle + 7};
    FillRect(dialog, box, kBoxColour);
    Frame(dialog, box, kShadowColour, kLightColour);
    if (control.checked) {
        // A tick: two columns down to the right, then five up, each column
        // three pixels tall so the strokes read at one to one.
        int32_t bottomX = box.left + 5;
        int32_t bottomY = box.top + 8;
        for (int32_t x = box.left + 3; x <= box.right - 3; ++x) {
            int32_t y = bottomY - std::abs(x - bottomX);
            FillRect(dialog, {x, y, x + 1, y + 3}, kTextColour);
        }
    }
    int32_t textX = box.right + 5;
    int32_t drawn = HostTextWidth(control.text.c_str(), kTextPixels);
    Text(dialog, textX, middle - kTextPixels / 2 - 2, control.text);
    if (focused) DottedFrame(dialog, {textX - 2, middle - 8, textX + drawn + 2, middle + 8});
}

void Draw(Dialog& dialog) {
    std::fill(dialog.pixels.begin(), dialog.pixels.end(), kFaceColour);
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const Control& control = dialog.controls[i];
        bool focused = static_cast<int>(i) == dialog.focus;
        if (control.kind == ControlKind::CheckBox) DrawCheckBox(dialog, control, focused);
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::DefaultButton)
            DrawButton(dialog, control, focused);
    }
    WindowRecord* record = FindWindowRecord(dialog.handle);
    if (record != nullptr)
        HostPresent(record->host, dialog.pixels.data(), dialog.width * 4, HostPixelFormat::Argb8888, dialog.width,
                    dialog.height);
}

void Command(Dialog& dialog, const Control& control) {
    dialog.procedure(dialog.handle, WM_COMMAND, MAKEWPARAM(control.id, 0), reinterpret_cast<LPARAM>(control.handle));
}

void Click(Dialog& dialog, int index) {
    if (index < 0) return;
    Control& control = dialog.controls[index];
    if (control.kind == ControlKind::CheckBox) control.checked = !control.checked;
    Command(dialog, control);
}

void CommandId(Dialog& dialog, WORD id) {
    Control* control = FindControl(dialog, id);
    dialog.procedure(dialog.handle, WM_COMMAND, MAKEWPARAM(id, 0),
                     reinterpret_cast<LPARAM>(control != nullptr ? control->handle : nullptr));
}

void MoveFocus(Dialog& dialog) {
    int count = static_cast<int>(dialog.controls.size());
    for (int step = 1; step <= count; ++step) {
        int next = (dialog.focus + step + count) % count;
        if (dialog.controls[next].tabStop) {
            dialog.focus = next;
            return;
        }
    }
}

int ControlAt(const Dialog& dialog, int32_t x, int32_t y) {
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const RECT& area = dialog.controls[i].area;
        if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) return static_cast<int>(i);
    }
    return -1;
}

void Handle(Dialog& dialog, const MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN:
            if (message.wParam == VK_TAB) MoveFocus(dialog);
            if (message.wParam == VK_SPACE) Click(dialog, dialog.focus);
            if (message.wParam == VK_ESCAPE) CommandId(dialog, IDCANCEL);
            if (message.wParam == VK_RETURN) {
                bool onButton = dialog.focus >= 0 && dialog.controls[dialog.focus].kind != ControlKind::CheckBox;
                if (onButton) {
                    Click(dialog, dialog.focus);
                } else {
                    auto byDefault = std::find_if(dialog.controls.begin(), dialog.controls.end(), [](const Control& c) {
                        return c.kind == ControlKind::DefaultButton;
                    });
                    CommandId(dialog, byDefault != dialog.controls.end() ? static_cast<WORD>(byDefault->id) : IDOK);
                }
            }
            break;
        case WM_LBUTTONDOWN:
            dialog.pressed = ControlAt(dialog, LOWORD(message.lParam), HIWORD(message.lParam));
            if (dialog.pressed >= 0 && dialog.controls[dialog.pressed].tabStop) dialog.focus = dialog.pressed;
            break;
        case WM_LBUTTONUP: {
            int released = ControlAt(dialog, LOWORD(message.lParam), HIWORD(message.lParam));
            int pressed = dialog.pressed;
            dialog.pressed = -1;
            if (released >= 0 && released == pressed) Click(dialog, released);
            break;
        }
        case WM_CLOSE:
            CommandId(dialog, IDCANCEL);
            break;
        default:
            // Messages a program posts to its dialog go to its procedure.
            if (message.message != WM_MOUSEMOVE && message.message != WM_MOVE && message.message != WM_KEYUP)
                dialog.procedure(dialog.handle, message.message, message.wParam, message.lParam);
            break;
    }
}

bool Build(Dialog& dialog, const DialogTemplate& layout) {
    dialog.width = layout.cx * kBaseUnitX / 4;
    dialog.height = layout.cy * kBaseUnitY / 8;
    if (dialog.width <= 0 || dialog.height <= 0 || dialog.width > 4096 || dialog.height > 4096) return false;
    dialog.pixels.assign(static_cast<size_t>(dialog.width) * dialog.height, kFaceColour);

    HostSize screen = HostScreenSize();
    bool centred = (layout.style & DS_CENTER) != 0;
    WindowRecord record;
    record.className = "#32770";
    record.title = layout.title;
    record.style = layout.style;
    record.exStyle = layout.exStyle;
    record.clientX = centred ? (screen.width - dialog.width) / 2 : layout.x * kBaseUnitX / 4;
    record.clientY = centred ? (screen.height - dialog.height) / 2 : layout.y * kBaseUnitY / 8;
    record.clientWidth = dialog.width;
    record.clientHeight = dialog.height;
    HostWindowOptions options;
    options.bordered = HasCaption(layout.style);
    options.visible = true;
    options.topmost = true;  // a modal box stays above its owner
    record.host =
        HostCreateWindow(layout.title.c_str(), record.clientX, record.clientY, dialog.width, dialog.height, options);
    if (record.host == nullptr) return false;
    dialog.handle = AddWindowRecord(record);
    SetForegroundWindow(dialog.handle);

    for (const DialogItem& item : layout.items) {
        Control control;
        control.id = item.id;
        control.kind = KindOf(item);
        control.tabStop = (item.style & WS_TABSTOP) != 0;
        control.text = item.text.isOrdinal ? std::string() : item.text.name;
        control.area = {item.x * kBaseUnitX / 4, item.y * kBaseUnitY / 8, (item.x + item.cx) * kBaseUnitX / 4,
                        (item.y + item.cy) * kBaseUnitY / 8};
        WindowRecord child;
        child.className = "Button";
        child.title = control.text;
        child.style = item.style;
        control.handle = AddWindowRecord(child);
        dialog.controls.push_back(control);
    }
    return true;
}

void TearDown(Dialog& dialog) {
    for (const Control& control : dialog.controls)
        if (WindowRecord* child = FindWindowRecord(control.handle)) child->alive = false;
    if (WindowRecord* record = FindWindowRecord(dialog.handle)) {
        HostDestroyWindow(record->host);
        record->host = nullptr;
        record->alive = false;
    }
    MSG leftover;
    while (TakeMessage(dialog.handle, leftover)) {
    }
}

}  // namespace
}  // namespace standin

using namespace standin;

extern "C" {

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR lpTemplateName, HWND, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (lpDialogFunc == nullptr || !IS_INTRESOURCE(lpTemplateName)) return -1;
    WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpTemplateName));
    const RESOURCE_ENTRY* resource = FindResourceEntry(g_moduleResources, RT_DIALOG, id);
    DialogTemplate layout;
    if (resource == nullptr || !ParseDialogTemplate(resource->data, resource->size, layout)) return -1;

    Dialog dialog;
    dialog.procedure = lpDialogFunc;
    if (!Build(dialog, layout)) {
        TearDown(dialog);
        return -1;
    }
    OpenDialogs().push_back(&dialog);

    HWND firstStop = nullptr;
    for (size_t i = 0; i < dialog.controls.size() && firstStop == nullptr; ++i) {
        if (dialog.controls[i].tabStop) firstStop = dialog.controls[i].handle;
    }
    if (lpDialogFunc(dialog.handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstStop), dwInitParam) != FALSE)
        MoveFocus(dialog);
    // Nobody is there to answer the box in a capture: it takes its default.
    if (HostIsCapturing()) {
        MSG enter{};
        enter.hwnd = dialog.handle;
        enter.message = WM_KEYDOWN;
        enter.wParam = VK_RETURN;
        Handle(dialog, enter);
    }

    while (!dialog.ended) {
        PumpHostEvents();
        MSG message;
        while (!dialog.ended && TakeMessage(dialog.handle, message)) Handle(dialog, message);
        if (!dialog.ended) Draw(dialog);
    }

    OpenDialogs().erase(std::find(OpenDialogs().begin(), OpenDialogs().end(), &dialog));
    TearDown(dialog);
    return dialog.result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    Dialog* dialog = FindDialog(hDlg);
    if (dialog == nullptr) return FALSE;
    dialog->ended = true;
    dialog->result = nResult;
    return TRUE;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM) {
    Dialog* dialog = FindDialog(hDlg);
    Control* control = dialog != nullptr ? FindControl(*dialog, nIDDlgItem) : nullptr;
    if (control == nullptr) return 0;
    if (Msg == BM_GETCHECK) return control->checked ? BST_CHECKED : BST_UNCHECKED;
    if (Msg == BM_SETCHECK) control->checked = wParam == BST_CHECKED;
    return 0;
}

}  // extern "C"
