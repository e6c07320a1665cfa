// The setup box, dialog IDD_SETUP, as the resource compiler would lay it
// out, and the program's resource table that carries it.
#include "platform/desktop/dialog_template.h"

#include <resource_table.h>

#include <array>

#include "platform/desktop/win32.h"

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
constexpr DWORD kControlStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kFontWeightDefault = 0;
constexpr BYTE kDefaultCharset = 1;

static_assert(kDialogStyle == 0x80C808C0);

constexpr void WriteButton(DialogTemplateWriter& out, DWORD id, const char16_t* text, DWORD buttonStyle, SHORT x,
                           SHORT y, SHORT cx, SHORT cy) {
    out.AlignToDword();
    out.Dword(0);  // helpID
    out.Dword(0);  // exStyle
    out.Dword(kControlStyle | buttonStyle);
    out.Short(x);
    out.Short(y);
    out.Short(cx);
    out.Short(cy);
    out.Dword(id);
    out.Ordinal(kButtonClass);
    out.String(text);
    out.Word(0);  // no creation data
}

constexpr void WriteSetupDialog(DialogTemplateWriter& out) {
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature of the extended template
    out.Dword(0);      // helpID
    out.Dword(WS_EX_TOOLWINDOW);
    out.Dword(kDialogStyle);
    out.Word(5);  // controls
    out.Short(0);
    out.Short(0);
    out.Short(122);
    out.Short(57);
    out.Word(0);  // no menu
    out.Word(0);  // the default dialog class
    out.String(u"doZorava setup box");
    out.Word(8);  // points
    out.Word(kFontWeightDefault);
    out.Byte(FALSE);  // italic
    out.Byte(kDefaultCharset);
    out.String(u"Tahoma");

    WriteButton(out, IDOK, u"OK", BS_DEFPUSHBUTTON, 10, 39, 50, 14);
    WriteButton(out, IDCANCEL, u"Cancel", BS_PUSHBUTTON, 65, 39, 50, 14);
    WriteButton(out, IDC_FULLSCREEN, u"Fullscreen", BS_AUTOCHECKBOX, 10, 5, 105, 10);
    WriteButton(out, IDC_DOUBLE_SIZE, u"Double size (640x480)", BS_AUTOCHECKBOX, 10, 15, 105, 10);
    WriteButton(out, IDC_ALWAYS_ON_TOP, u"Always on top", BS_AUTOCHECKBOX, 10, 25, 105, 10);
}

constexpr size_t kSetupDialogSize = [] {
    DialogTemplateWriter counter;
    WriteSetupDialog(counter);
    return counter.Size();
}();

constexpr std::array<BYTE, kSetupDialogSize> kSetupDialog = [] {
    std::array<BYTE, kSetupDialogSize> bytes{};
    DialogTemplateWriter writer(bytes.data());
    WriteSetupDialog(writer);
    return bytes;
}();

}  // namespace

extern "C" const RESOURCE_ENTRY g_moduleResources[] = {
    {RT_DIALOG, kSetupDialogResource, kSetupDialog.data(), static_cast<DWORD>(kSetupDialog.size())},
    {0, 0, nullptr, 0},
};
