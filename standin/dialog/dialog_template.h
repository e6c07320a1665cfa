// The dialog manager's reading of extended dialog templates, and the lookup of
// a resource in the program's resource table.
#pragma once

#include <resource_table.h>

#include <cstddef>
#include <string>
#include <vector>
#include <windows.h>

namespace standin {

// A menu, window class or control text as a template gives it: an ordinal
// (0xFFFF followed by a number) or a string, which may be empty.
struct ResourceName {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::string name;  // UTF-8
};

constexpr WORD kButtonClassOrdinal = 0x0080;

// What a dialog and each of its controls have alike. Positions and sizes
// are in dialog units.
struct DialogWindow {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    SHORT x = 0;
    SHORT y = 0;
    SHORT cx = 0;
    SHORT cy = 0;
    ResourceName windowClass;  // a dialog's default class: not an ordinal, empty name
};

struct DialogItem : DialogWindow {
    DWORD id = 0;
    ResourceName text;
    WORD creationDataSize = 0;
};

struct DialogTemplate : DialogWindow {
    ResourceName menu;  // no menu: not an ordinal, empty name
    std::string title;
    bool hasFont = false;  // DS_SETFONT
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

// Reads an extended template (version 1, signature 0xFFFF) of size bytes.
// False, with out in an unspecified state, for any other format and for bytes
// that end before the template does; nothing past size is ever read.
bool ParseDialogTemplate(const void* bytes, size_t size, DialogTemplate& out);

// The entry of type and id in a table that ends with a null data pointer, or
// null when there is none.
const RESOURCE_ENTRY* FindResourceEntry(const RESOURCE_ENTRY* table, WORD type, WORD id);

}  // namespace standin
