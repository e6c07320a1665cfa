// Writes the fuzzers' starting corpora: for each target a folder of inputs the
// program meets, well-formed and a step away from it.
//
//   make_seeds <corpus folder>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/font_charset.h"
#include "support/test_files.h"
#include "support/tga_files.h"

namespace {

std::vector<uint8_t> Palette() {
    std::vector<uint8_t> palette(768);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i * 7 + 1);
    return palette;
}

// A picture with black and coloured Pixels, so keyed blits skip some.
std::vector<Pixel> Picture(int32_t width, int32_t height) {
    std::vector<Pixel> pixels;
    for (int32_t i = 0; i < width * height; ++i)
        pixels.push_back(i % 5 == 0 ? kOpaqueBlack : 0xFF000000u | (i * 40503u));
    return pixels;
}

TgaContents TrueColour(uint16_t width, uint16_t height) {
    return {.width = width, .height = height, .data = StoreRows24(Picture(width, height), width, height)};
}

// The file's bytes with the header's origin, which the fuzzers draw at.
std::string TgaBytes(const std::string& scratch, const TgaContents& contents, int16_t x, int16_t y) {
    WriteTgaTo(scratch, contents);
    std::string bytes = ReadWholeFile(scratch);
    std::filesystem::remove(scratch);
    if (bytes.size() >= 12) {
        bytes[8] = static_cast<char>(x & 0xFF);
        bytes[9] = static_cast<char>((x >> 8) & 0xFF);
        bytes[10] = static_cast<char>(y & 0xFF);
        bytes[11] = static_cast<char>((y >> 8) & 0xFF);
    }
    return bytes;
}

class Corpus {
public:
    Corpus(const std::filesystem::path& root, const char* target) : folder(root / target) {
        std::filesystem::create_directories(folder);
    }

    void Add(const std::string& bytes) {
        WriteWholeFile((folder / ("seed-" + std::to_string(++count))).string(), bytes);
    }

    std::string Scratch() const { return (folder / "scratch.tga").string(); }

private:
    std::filesystem::path folder;
    int count = 0;
};

void WriteTgaSeeds(Corpus corpus) {
    std::vector<uint8_t> full(4 * 4 * 4, 0x42);
    const TgaContents paletted = {
        .width = 8, .height = 4, .depth = 8, .palette = Palette(), .data = std::vector<uint8_t>(32, 5)};
    struct Seed {
        TgaContents contents;
        int16_t x;
        int16_t y;
    };
    const Seed seeds[] = {
        {TrueColour(32, 48), 100, 40},  // a duck frame's size
        {TrueColour(392, 8), 0, 0},     // the font sheet's
        {TrueColour(64, 16), -10, 300},
        {paletted, 230, 310},
        {{.width = 4, .height = 4, .depth = 32, .data = full}, 5, 5},
        {{.width = 4, .height = 3, .depth = 16, .data = full}, 0, 0},
        {{.width = 4, .height = 4, .depth = 32, .descriptor = 8, .data = full}, 0, 0},
        {{.width = 2, .height = 2, .depth = 24, .descriptor = 32, .data = full}, 0, 0},
        {{.width = 4, .height = 4, .depth = 24, .data = full, .cutTo = 18 + 47}, 0, 0},
        {{.width = 5, .height = 0, .depth = 24}, 0, 0},
        {{.width = 16384, .height = 16384, .depth = 0}, 0, 0},
    };
    for (const Seed& seed : seeds) corpus.Add(TgaBytes(corpus.Scratch(), seed.contents, seed.x, seed.y));
}

void WriteFontSeeds(Corpus corpus) {
    const int16_t cell = 8;
    const uint16_t glyphs = sizeof kFontCharset - 1;
    std::string sheet = TgaBytes(corpus.Scratch(), TrueColour(static_cast<uint16_t>(glyphs * cell), cell), 20, 300);
    std::string narrow = TgaBytes(corpus.Scratch(), TrueColour(20, 8), 0, 8);
    const char* texts[] = {"hello, duck!", "use your mouse to guess!", "(0123456789) [+-] \"?\":*", "A b C", ""};
    for (const char* text : texts) corpus.Add(std::string(text) + '\0' + sheet);
    corpus.Add(std::string("abc") + '\0' + narrow);
    corpus.Add("abc");
}

void WriteTextSeeds(Corpus corpus, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) corpus.Add(text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    std::filesystem::path root = argv[1];
    WriteTgaSeeds(Corpus(root, "tga"));
    WriteFontSeeds(Corpus(root, "font"));
    WriteTextSeeds(Corpus(root, "input_script"),
                   {"80500 move 120 160\n80600 down\n80700 up\n90000 key escape\n",
                    "# a comment\n0 MOVE 0 0 # trailing\n\n10 Key F12\n10 key a\n20 key 9\r\n30 key SPACE\n",
                    "100 move 65535 65535\n200 down\n50 up\n", "100 down\n", "1 move 65536 1\n",
                    "2147483647 key return\n", "2147483648 key tab\n", "5 key f13\n", "5 move 1 2 3\n"});
    WriteTextSeeds(Corpus(root, "command_line"),
                   {"--fullscreen --double-size", "\"--on-top\"  --no-setup", "-h", "--version", "--help -x",
                    "\"a b\" c", "\"unterminated", "", "--vers --versionx -hello"});
    WriteTextSeeds(Corpus(root, "hardware"),
                   {"depths=16;redmask=0x7c00;windowbpp=16;fail=CreateSurface", "handheld=320x240;xpitch=-480;ypitch=2",
                    "screenwidth=800;screenheight=600;;", "depths=32,24,16", "bogus=1", "windowbpp=12", "handheld=0x0",
                    "redmask=", "xpitch=0"});
    return 0;
}
