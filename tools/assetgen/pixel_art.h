// Pictures kept as text: a palette of characters naming colours, then rows of
// those characters, one per pixel.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// One meaningful line of an art file, with where it came from for messages.
struct ArtLine {
    std::string text;
    int32_t number = 0;
};

// The lines of a file that are neither blank nor comments (starting with
// '#'), trailing spaces removed. Throws std::runtime_error naming the file
// when it cannot be read.
std::vector<ArtLine> ReadArtLines(const std::string& path);

// "path:line: message", the form every art error takes.
std::string ArtErrorMessage(const std::string& path, int32_t lineNumber, const std::string& message);

using Palette = std::map<char, Rgb>;

// Takes a "colour C R G B" line into the palette; false if the line is not a
// colour line. Throws on a malformed or repeated colour.
bool TakeColourLine(const std::string& path, const ArtLine& line, Palette& palette);

// A palette file: colour lines only.
Palette ReadPalette(const std::string& path);

// Pixels row after row, row 0 at the top.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Rgb> pixels;

    const Rgb& At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Turns rows of palette characters into a picture of exactly width x height;
// a row of the wrong length, a character the palette lacks or a wrong row
// count is an error naming the file and line.
Picture PictureFromRows(const std::string& path, const std::vector<ArtLine>& rows, const Palette& palette,
                        int32_t width, int32_t height);

// A file of width x height rows drawn with the given palette.
Picture ReadPicture(const std::string& path, const Palette& palette, int32_t width, int32_t height);
