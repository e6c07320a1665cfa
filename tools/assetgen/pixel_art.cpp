#include "tools/assetgen/pixel_art.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ArtErrorMessage(const std::string& path, int32_t lineNumber, const std::string& message) {
    return path + ":" + std::to_string(lineNumber) + ": " + message;
}

std::vector<ArtLine> ReadArtLines(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error(path + ": cannot read this file");
    std::vector<ArtLine> lines;
    std::string text;
    int32_t number = 0;
    while (std::getline(file, text)) {
        ++number;
        while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) text.pop_back();
        if (text.empty() || text.front() == '#') continue;
        lines.push_back({text, number});
    }
    return lines;
}

bool TakeColourLine(const std::string& path, const ArtLine& line, Palette& palette) {
    std::istringstream words(line.text);
    std::string keyword;
    words >> keyword;
    if (keyword != "colour") return false;

    std::string name;
    int red = -1;
    int green = -1;
    int blue = -1;
    std::string rest;
    words >> name >> red >> green >> blue;
    bool inRange = red >= 0 && red <= 255 && green >= 0 && green <= 255 && blue >= 0 && blue <= 255;
    if (!words || name.size() != 1 || !inRange || (words >> rest)) {
        throw std::runtime_error(
            ArtErrorMessage(path, line.number, "expected \"colour C R G B\" with one character and 0..255 values"));
    }
    if (palette.contains(name[0])) {
        throw std::runtime_error(ArtErrorMessage(path, line.number, "colour '" + name + "' is defined twice"));
    }
    palette[name[0]] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue)};
    return true;
}

Palette ReadPalette(const std::string& path) {
    Palette palette;
    for (const ArtLine& line : ReadArtLines(path)) {
        if (!TakeColourLine(path, line, palette)) {
            throw std::runtime_error(ArtErrorMessage(path, line.number, "a palette holds only colour lines"));
        }
    }
    if (palette.empty()) throw std::runtime_error(path + ": the palette has no colours");
    return palette;
}

Picture PictureFromRows(const std::string& path, const std::vector<ArtLine>& rows, const Palette& palette,
                        int32_t width, int32_t height) {
    if (static_cast<int32_t>(rows.size()) != height) {
        int32_t where = rows.empty() ? 0 : rows.back().number;
        throw std::runtime_error(ArtErrorMessage(
            path, where,
            "expected " + std::to_string(height) + " rows of pixels, found " + std::to_string(rows.size())));
    }
    Picture picture{width, height, {}};
    picture.pixels.reserve(static_cast<size_t>(width) * height);
    for (const ArtLine& row : rows) {
        if (static_cast<int32_t>(row.text.size()) != width) {
            throw std::runtime_error(ArtErrorMessage(path, row.number,
                                                     "a row must be " + std::to_string(width) +
                                                         " pixels wide, this one is " +
                                                         std::to_string(row.text.size())));
        }
        for (size_t column = 0; column < row.text.size(); ++column) {
            auto colour = palette.find(row.text[column]);
            if (colour == palette.end()) {
                throw std::runtime_error(ArtErrorMessage(path, row.number,
                                                         "column " + std::to_string(column + 1) + ": '" +
                                                             std::string(1, row.text[column]) +
                                                             "' is not a colour of the palette"));
            }
            picture.pixels.push_back(colour->second);
        }
    }
    return picture;
}

Picture ReadPicture(const std::string& path, const Palette& palette, int32_t width, int32_t height) {
    return PictureFromRows(path, ReadArtLines(path), palette, width, height);
}
