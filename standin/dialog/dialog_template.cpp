// Reading extended dialog templates field by field, every read checked
// against the end of the bytes.
#include "standin/dialog/dialog_template.h"

#include <cstdint>
#include <utility>

namespace standin {
namespace {

constexpr WORD kExtendedVersion = 1;
constexpr WORD kExtendedSignature = 0xFFFF;
constexpr WORD kOrdinalMarker = 0xFFFF;

class TemplateReader {
public:
    TemplateReader(const BYTE* bytes, size_t size) : bytes(bytes), size(size) {}

    bool Byte(BYTE& value) {
        if (position >= size) return false;
        value = bytes[position++];
        return true;
    }
    bool Word(WORD& value) { return PeekWord(value) && Skip(2); }
    bool Short(SHORT& value) {
        WORD word = 0;
        if (!Word(word)) return false;
        value = static_cast<SHORT>(word);
        return true;
    }
    bool Dword(DWORD& value) {
        WORD low = 0;
        WORD high = 0;
        if (!Word(low) || !Word(high)) return false;
        value = static_cast<DWORD>(high) << 16 | low;
        return true;
    }
    bool Skip(size_t count) {
        if (size - position < count) return false;
        position += count;
        return true;
    }
    // Items start on a 4-byte boundary, counted from the template's start.
    bool AlignToDword() { return Skip((4 - position % 4) % 4); }

    // A 0-terminated UTF-16 string, as UTF-8. Unpaired surrogates become U+FFFD.
    bool String(std::string& text) {
        text.clear();
        WORD unit = 0;
        for (;;) {
            if (!Word(unit)) return false;
            if (unit == 0) return true;
            uint32_t codePoint = unit;
            if (unit >= 0xD800 && unit <= 0xDBFF && NextIsLowSurrogate()) {
                WORD low = 0;
                Word(low);
                codePoint = 0x10000 + ((unit - 0xD800u) << 10) + (low - 0xDC00u);
            } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                codePoint = 0xFFFD;
            }
            AppendUtf8(text, codePoint);
        }
    }

    // 0x0000: nothing (empty name); 0xFFFF: an ordinal follows; else a string.
    bool Name(ResourceName& name) {
        name = ResourceName{};
        WORD first = 0;
        if (!PeekWord(first)) return false;
        if (first == 0) return Skip(2);
        if (first == kOrdinalMarker) {
            name.isOrdinal = true;
            return Skip(2) && Word(name.ordinal);
        }
        return String(name.name);
    }

private:
    bool PeekWord(WORD& value) const {
        if (size - position < 2) return false;
        value = static_cast<WORD>(bytes[position] | bytes[position + 1] << 8);
        return true;
    }

    bool NextIsLowSurrogate() const {
        WORD next = 0;
        return PeekWord(next) && next >= 0xDC00 && next <= 0xDFFF;
    }

    static void AppendUtf8(std::string& text, uint32_t codePoint) {
        if (codePoint < 0x80) {
            text += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            text += static_cast<char>(0xC0 | codePoint >> 6);
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            text += static_cast<char>(0xE0 | codePoint >> 12);
            text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | codePoint >> 18);
            text += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
            text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }

    const BYTE* bytes;
    size_t size;
    size_t position = 0;
};

bool ReadStyles(TemplateReader& reader, DialogWindow& window) {
    return reader.Dword(window.helpId) && reader.Dword(window.exStyle) && reader.Dword(window.style);
}

bool ReadPlacement(TemplateReader& reader, DialogWindow& window) {
    return reader.Short(window.x) && reader.Short(window.y) && reader.Short(window.cx) && reader.Short(window.cy);
}

bool ReadItem(TemplateReader& reader, DialogItem& item) {
    return reader.AlignToDword() && ReadStyles(reader, item) && ReadPlacement(reader, item) && reader.Dword(item.id) &&
           reader.Name(item.windowClass) && reader.Name(item.text) && reader.Word(item.creationDataSize) &&
           reader.Skip(item.creationDataSize);
}

}  // namespace

bool ParseDialogTemplate(const void* bytes, size_t size, DialogTemplate& out) {
    out = DialogTemplate{};
    if (bytes == nullptr) return false;
    TemplateReader reader(static_cast<const BYTE*>(bytes), size);

    WORD version = 0;
    WORD signature = 0;
    WORD itemCount = 0;
    if (!reader.Word(version) || !reader.Word(signature)) return false;
    if (version != kExtendedVersion || signature != kExtendedSignature) return false;
    if (!ReadStyles(reader, out) || !reader.Word(itemCount) || !ReadPlacement(reader, out) || !reader.Name(out.menu) ||
        !reader.Name(out.windowClass) || !reader.String(out.title)) {
        return false;
    }

    out.hasFont = (out.style & DS_SETFONT) != 0;
    if (out.hasFont) {
        BYTE italic = 0;
        if (!reader.Word(out.pointSize) || !reader.Word(out.weight) || !reader.Byte(italic) ||
            !reader.Byte(out.charset) || !reader.String(out.typeface)) {
            return false;
        }
        out.italic = italic != 0;
    }

    for (WORD i = 0; i < itemCount; ++i) {
        DialogItem item;
        if (!ReadItem(reader, item)) return false;
        out.items.push_back(std::move(item));
    }
    return true;
}

const RESOURCE_ENTRY* FindResourceEntry(const RESOURCE_ENTRY* table, WORD type, WORD id) {
    if (table == nullptr) return nullptr;
    for (; table->data != nullptr; ++table) {
        if (table->type == type && table->id == id) return table;
    }
    return nullptr;
}

}  // namespace standin
