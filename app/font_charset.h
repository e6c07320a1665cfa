// The font sheet's characters, in the order of its cells: what the driver
// loads the font with and what the data generator draws the sheet from.
#pragma once

inline constexpr char kFontCharset[] = "abcdefghijklmnopqrstuvwxyz.,?!-+0123456789()[]\":*";
