// Lays out extended dialog-template bytes field by field, for templates the
// resource compiler would not write.
#pragma once

#include <cstddef>
#include <windows.h>

// Appends little-endian fields to destination, or only counts them when
// destination is null, so one description of a template yields both its size
// and its bytes.
class DialogTemplateWriter {
public:
    constexpr explicit DialogTemplateWriter(BYTE* destination = nullptr) : destination(destination) {}

    constexpr void Byte(BYTE value) {
        if (destination != nullptr) destination[length] = value;
        ++length;
    }
    constexpr void Word(WORD value) {
        Byte(static_cast<BYTE>(value & 0xFF));
        Byte(static_cast<BYTE>(value >> 8));
    }
    constexpr void Short(SHORT value) { Word(static_cast<WORD>(value)); }
    constexpr void Dword(DWORD value) {
        Word(static_cast<WORD>(value & 0xFFFF));
        Word(static_cast<WORD>(value >> 16));
    }
    // UTF-16 code units, then the terminating 0.
    constexpr void String(const char16_t* text) {
        for (; *text != 0; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    constexpr void Ordinal(WORD ordinal) {
        Word(0xFFFF);
        Word(ordinal);
    }
    constexpr void AlignToDword() {
        while (length % 4 != 0) Byte(0);
    }

    constexpr size_t Size() const { return length; }

private:
    BYTE* destination;
    size_t length = 0;
};
