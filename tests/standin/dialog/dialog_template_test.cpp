#include "standin/dialog/dialog_template.h"

#include <resource_table.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

#include "platform/desktop/resource.h"
#include "support/dialog_template_writer.h"

namespace {

using standin::DialogItem;
using standin::DialogTemplate;
using standin::FindResourceEntry;
using standin::ParseDialogTemplate;

const RESOURCE_ENTRY& SetupDialogEntry() {
    const RESOURCE_ENTRY* entry = FindResourceEntry(g_moduleResources, RT_DIALOG, IDD_SETUP);
    EXPECT_NE(entry, nullptr);
    static const RESOURCE_ENTRY kMissing = {0, 0, nullptr, 0};
    return entry != nullptr ? *entry : kMissing;
}

template <typename Write>
std::vector<BYTE> BuildTemplate(Write write) {
    DialogTemplateWriter counter;
    write(counter);
    std::vector<BYTE> bytes(counter.Size());
    DialogTemplateWriter writer(bytes.data());
    write(writer);
    return bytes;
}

DWORD DwordAt(const BYTE* bytes, size_t offset) {
    return static_cast<DWORD>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16) |
           static_cast<DWORD>(bytes[offset + 3]) << 24;
}

// The data of dialog id in a compiled resource file (windres -O res): after
// the data and header sizes, each header names its type and id, here both
// ordinals, and each resource starts on a 4-byte boundary.
std::vector<BYTE> DialogInResourceFile(const char* path, WORD id) {
    std::ifstream file(path, std::ios::binary);
    std::vector<BYTE> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    size_t offset = 0;
    while (offset + 16 <= bytes.size()) {
        DWORD dataSize = DwordAt(bytes.data(), offset);
        DWORD headerSize = DwordAt(bytes.data(), offset + 4);
        size_t dataOffset = offset + headerSize;
        if (dataOffset + dataSize > bytes.size()) break;
        if (DwordAt(bytes.data(), offset + 8) == (0xFFFFu | RT_DIALOG << 16) &&
            DwordAt(bytes.data(), offset + 12) == (0xFFFFu | static_cast<DWORD>(id) << 16)) {
            return {bytes.begin() + static_cast<ptrdiff_t>(dataOffset),
                    bytes.begin() + static_cast<ptrdiff_t>(dataOffset + dataSize)};
        }
        offset = (dataOffset + dataSize + 3) / 4 * 4;
    }
    return {};
}

void ExpectButton(const DialogItem& item, DWORD id, const std::string& text, DWORD kind, SHORT x, SHORT y, SHORT cx,
                  SHORT cy) {
    SCOPED_TRACE(text);
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.text.name, text);
    EXPECT_FALSE(item.text.isOrdinal);
    EXPECT_EQ(item.style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind);
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.helpId, 0u);
    EXPECT_EQ(item.x, x);
    EXPECT_EQ(item.y, y);
    EXPECT_EQ(item.cx, cx);
    EXPECT_EQ(item.cy, cy);
    EXPECT_TRUE(item.windowClass.isOrdinal);
    EXPECT_EQ(item.windowClass.ordinal, standin::kButtonClassOrdinal);
    EXPECT_EQ(item.creationDataSize, 0);
}

TEST(SetupDialogTemplate, ReadsBackAsTheSetupBox) {
    const RESOURCE_ENTRY& entry = SetupDialogEntry();
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogTemplate(entry.data, entry.size, dialog));

    EXPECT_EQ(dialog.style, 0x80C808C0u);
    EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 122);
    EXPECT_EQ(dialog.cy, 57);
    EXPECT_FALSE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.name, "");
    EXPECT_FALSE(dialog.windowClass.isOrdinal);
    EXPECT_EQ(dialog.windowClass.name, "");
    EXPECT_EQ(dialog.title, "doZorava setup box");
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.weight, 0);
    EXPECT_FALSE(dialog.italic);
    EXPECT_EQ(dialog.charset, 1);
    EXPECT_EQ(dialog.typeface, "Tahoma");

    ASSERT_EQ(dialog.items.size(), 5u);
    ExpectButton(dialog.items[0], IDOK, "OK", BS_DEFPUSHBUTTON, 10, 39, 50, 14);
    ExpectButton(dialog.items[1], IDCANCEL, "Cancel", BS_PUSHBUTTON, 65, 39, 50, 14);
    ExpectButton(dialog.items[2], 1000, "Fullscreen", BS_AUTOCHECKBOX, 10, 5, 105, 10);
    ExpectButton(dialog.items[3], 1001, "Double size (640x480)", BS_AUTOCHECKBOX, 10, 15, 105, 10);
    ExpectButton(dialog.items[4], 1002, "Always on top", BS_AUTOCHECKBOX, 10, 25, 105, 10);
}

TEST(SetupDialogTemplate, IsWhatTheResourceScriptCompilesTo) {
    std::vector<BYTE> compiled = DialogInResourceFile(DUCKDEMO_COMPILED_RESOURCES, IDD_SETUP);
    ASSERT_FALSE(compiled.empty()) << "no dialog " << IDD_SETUP << " in " << DUCKDEMO_COMPILED_RESOURCES;
    const RESOURCE_ENTRY& entry = SetupDialogEntry();
    EXPECT_EQ(std::vector<BYTE>(entry.data, entry.data + entry.size), compiled);
}

TEST(SetupDialogTemplate, LaysItemsOutOnDwordBoundariesAsTheResourceCompilerDoes) {
    // Worked out by hand: a 30-byte header, the title and the font make 88
    // bytes; the items take 36, 44, 52, 74 (+2 padding) and 58 bytes.
    const RESOURCE_ENTRY& entry = SetupDialogEntry();
    ASSERT_EQ(entry.size, 354u);
    const BYTE* bytes = entry.data;
    EXPECT_EQ(DwordAt(bytes, 0), 0xFFFF0001u);
    EXPECT_EQ(DwordAt(bytes, 88 + 8), 0x50010001u);  // OK's style
    EXPECT_EQ(DwordAt(bytes, 88 + 20), 1u);          // OK's id
    EXPECT_EQ(DwordAt(bytes, 124 + 20), 2u);
    EXPECT_EQ(DwordAt(bytes, 168 + 20), 1000u);
    EXPECT_EQ(DwordAt(bytes, 220 + 20), 1001u);
    EXPECT_EQ(bytes[294], 0);
    EXPECT_EQ(bytes[295], 0);
    EXPECT_EQ(DwordAt(bytes, 296 + 20), 1002u);
}

TEST(ParseDialogTemplate, RefusesEveryTruncationWithoutReadingPastIt) {
    const RESOURCE_ENTRY& entry = SetupDialogEntry();
    for (size_t length = 0; length < entry.size; ++length) {
        // Exactly length bytes on the heap: an over-read trips the address sanitizer.
        std::vector<BYTE> prefix(entry.data, entry.data + length);
        DialogTemplate dialog;
        EXPECT_FALSE(ParseDialogTemplate(prefix.data(), prefix.size(), dialog)) << length << " bytes";
    }
}

TEST(ParseDialogTemplate, RefusesOtherFormatsAndInconsistentCounts) {
    const RESOURCE_ENTRY& entry = SetupDialogEntry();
    std::vector<BYTE> bytes(entry.data, entry.data + entry.size);
    DialogTemplate dialog;
    EXPECT_FALSE(ParseDialogTemplate(nullptr, bytes.size(), dialog));

    std::vector<BYTE> plainTemplate = bytes;
    plainTemplate[2] = 0;  // signature
    EXPECT_FALSE(ParseDialogTemplate(plainTemplate.data(), plainTemplate.size(), dialog));

    std::vector<BYTE> otherVersion = bytes;
    otherVersion[0] = 2;
    EXPECT_FALSE(ParseDialogTemplate(otherVersion.data(), otherVersion.size(), dialog));

    std::vector<BYTE> extraItem = bytes;
    extraItem[16] = 6;  // item count
    EXPECT_FALSE(ParseDialogTemplate(extraItem.data(), extraItem.size(), dialog));

    std::vector<BYTE> creationDataPastTheEnd = bytes;
    creationDataPastTheEnd[bytes.size() - 2] = 1;
    EXPECT_FALSE(ParseDialogTemplate(creationDataPastTheEnd.data(), creationDataPastTheEnd.size(), dialog));
}

TEST(ParseDialogTemplate, ReadsNamesAsOrdinalsOrStringsAndSkipsCreationData) {
    std::vector<BYTE> bytes = BuildTemplate([](DialogTemplateWriter& out) {
        out.Word(1);
        out.Word(0xFFFF);
        out.Dword(7);
        out.Dword(0);
        out.Dword(WS_POPUP);  // no DS_SETFONT: the items follow the title
        out.Word(2);
        out.Short(-3);
        out.Short(4);
        out.Short(50);
        out.Short(60);
        out.Ordinal(12);
        out.String(u"MyClass");
        out.String(u"Gr\u00F6\u00DFe \U0001F986");
        out.AlignToDword();
        out.Dword(0);
        out.Dword(0);
        out.Dword(WS_CHILD);
        out.Short(1);
        out.Short(2);
        out.Short(3);
        out.Short(4);
        out.Dword(0x12345);
        out.String(u"Static");
        out.Ordinal(0x42);
        out.Word(3);
        out.Byte(9);
        out.Byte(9);
        out.Byte(9);
        out.AlignToDword();
        out.Dword(0);
        out.Dword(0);
        out.Dword(WS_CHILD);
        out.Short(5);
        out.Short(6);
        out.Short(7);
        out.Short(8);
        out.Dword(99);
        out.Ordinal(0x0080);
        out.Word(0xD800);  // a lone surrogate
        out.Word('!');
        out.Word(0);
        out.Word(0);
    });
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
    EXPECT_EQ(dialog.helpId, 7u);
    EXPECT_EQ(dialog.x, -3);
    EXPECT_TRUE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.ordinal, 12);
    EXPECT_FALSE(dialog.windowClass.isOrdinal);
    EXPECT_EQ(dialog.windowClass.name, "MyClass");
    EXPECT_EQ(dialog.title,
              "Gr\xC3\xB6\xC3\x9F"
              "e \xF0\x9F\xA6\x86");
    EXPECT_FALSE(dialog.hasFont);
    EXPECT_EQ(dialog.typeface, "");

    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].id, 0x12345u);
    EXPECT_EQ(dialog.items[0].windowClass.name, "Static");
    EXPECT_TRUE(dialog.items[0].text.isOrdinal);
    EXPECT_EQ(dialog.items[0].text.ordinal, 0x42);
    EXPECT_EQ(dialog.items[0].creationDataSize, 3);
    EXPECT_EQ(dialog.items[1].id, 99u);
    EXPECT_EQ(dialog.items[1].cy, 8);
    EXPECT_EQ(dialog.items[1].windowClass.ordinal, standin::kButtonClassOrdinal);
    EXPECT_EQ(dialog.items[1].text.name, "\xEF\xBF\xBD!");
}

TEST(FindResourceEntry, FindsTheEntryOfThatTypeAndId) {
    const RESOURCE_ENTRY* setup = FindResourceEntry(g_moduleResources, RT_DIALOG, 101);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->type, RT_DIALOG);
    EXPECT_EQ(setup->id, 101);
    EXPECT_NE(setup->data, nullptr);
    EXPECT_EQ(FindResourceEntry(g_moduleResources, RT_DIALOG, 102), nullptr);
    EXPECT_EQ(FindResourceEntry(g_moduleResources, 6, 101), nullptr);

    static const BYTE kFirst[] = {1};
    static const BYTE kSecond[] = {2};
    const RESOURCE_ENTRY table[] = {{RT_DIALOG, 1, kFirst, 1}, {RT_DIALOG, 2, kSecond, 1}, {0, 0, nullptr, 0}};
    EXPECT_EQ(FindResourceEntry(table, RT_DIALOG, 2), &table[1]);
    const RESOURCE_ENTRY empty[] = {{0, 0, nullptr, 0}};
    EXPECT_EQ(FindResourceEntry(empty, 0, 0), nullptr);
    EXPECT_EQ(FindResourceEntry(nullptr, RT_DIALOG, 101), nullptr);
}

}  // namespace
