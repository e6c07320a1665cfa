#include "tools/assetgen/font_sheet.h"

#include <map>
#include <stdexcept>

#include "tools/assetgen/tga_writer.h"

namespace {

using Glyph = std::vector<ArtLine>;

std::string CharsOf(const std::string& path, const ArtLine& line) {
    std::string chars;
    for (size_t i = 6; i < line.text.size(); i += 2) {
        bool separated = i + 1 == line.text.size() || line.text[i + 1] == ' ';
        if (line.text[i] == ' ' || !separated) {
            throw std::runtime_error(ArtErrorMessage(path, line.number, "glyph names are single characters apart"));
        }
        chars += line.text[i];
    }
    if (chars.empty()) throw std::runtime_error(ArtErrorMessage(path, line.number, "a band names no glyphs"));
    return chars;
}

// The rows of one band, cut into one group of rows per glyph.
void TakeBand(const std::string& path, const ArtLine& charsLine, const std::vector<ArtLine>& rows,
              std::map<char, Glyph>& glyphs) {
    std::string chars = CharsOf(path, charsLine);
    size_t bandWidth = chars.size() * (kGlyphSize + 1) - 1;
    if (rows.size() != static_cast<size_t>(kGlyphSize)) {
        throw std::runtime_error(ArtErrorMessage(path, charsLine.number, "a band has eight rows of cells"));
    }
    for (const ArtLine& row : rows) {
        if (row.text.size() != bandWidth) {
            throw std::runtime_error(ArtErrorMessage(
                path, row.number, "expected " + std::to_string(chars.size()) + " cells of 8 pixels, one space apart"));
        }
    }
    for (size_t i = 0; i < chars.size(); ++i) {
        if (glyphs.contains(chars[i])) {
            throw std::runtime_error(
                ArtErrorMessage(path, charsLine.number, "'" + std::string(1, chars[i]) + "' is drawn twice"));
        }
        Glyph& glyph = glyphs[chars[i]];
        for (const ArtLine& row : rows)
            glyph.push_back({row.text.substr(i * (kGlyphSize + 1), kGlyphSize), row.number});
    }
}

}  // namespace

FontSheet ReadFontSheet(const std::string& path, const std::string& charset) {
    std::vector<ArtLine> lines = ReadArtLines(path);
    Palette palette;
    std::map<char, Glyph> glyphs;
    for (size_t i = 0; i < lines.size();) {
        if (TakeColourLine(path, lines[i], palette)) {
            ++i;
        } else if (lines[i].text.starts_with("chars ")) {
            size_t end = std::min(lines.size(), i + 1 + kGlyphSize);
            TakeBand(path, lines[i],
                     std::vector<ArtLine>(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                          lines.begin() + static_cast<std::ptrdiff_t>(end)),
                     glyphs);
            i = end;
        } else {
            throw std::runtime_error(ArtErrorMessage(path, lines[i].number, "expected a colour or a chars line"));
        }
    }
    if (palette.size() > 256) throw std::runtime_error(path + ": more than 256 colours");

    FontSheet sheet;
    sheet.charset = charset;
    sheet.width = static_cast<int32_t>(charset.size()) * kGlyphSize;
    std::map<char, uint8_t> indexOf;
    for (const auto& [name, colour] : palette) {
        auto index = static_cast<uint8_t>(indexOf.size());
        indexOf[name] = index;
        sheet.palette[index] = colour;
    }
    sheet.indices.assign(static_cast<size_t>(sheet.width) * kGlyphSize, 0);
    for (size_t cell = 0; cell < charset.size(); ++cell) {
        auto glyph = glyphs.find(charset[cell]);
        if (glyph == glyphs.end()) {
            throw std::runtime_error(path + ": '" + std::string(1, charset[cell]) + "' has no glyph");
        }
        Picture picture = PictureFromRows(path, glyph->second, palette, kGlyphSize, kGlyphSize);
        for (int32_t y = 0; y < kGlyphSize; ++y) {
            for (int32_t x = 0; x < kGlyphSize; ++x) {
                char name = glyph->second[static_cast<size_t>(y)].text[static_cast<size_t>(x)];
                sheet.indices[static_cast<size_t>(y) * sheet.width + cell * kGlyphSize + x] = indexOf[name];
            }
        }
        glyphs.erase(glyph);
    }
    if (!glyphs.empty()) {
        throw std::runtime_error(path + ": '" + std::string(1, glyphs.begin()->first) +
                                 "' is drawn but is not in the charset");
    }
    return sheet;
}

void WriteFontSheet(const std::string& path, const FontSheet& sheet) {
    WriteTga8(path, sheet.width, sheet.height, sheet.palette, sheet.indices);
}
