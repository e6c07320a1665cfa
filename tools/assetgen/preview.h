// The contact sheet a person looks at: every duck frame enlarged and named,
// the game's row of ducks at true size, the font enlarged and the program's
// own lines of text.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/font_sheet.h"
#include "tools/assetgen/pixel_art.h"

void WritePreview(const std::string& path, const std::vector<Picture>& frames, const FontSheet& font);
