// assetgen: turns the sources under assets/ into the data files the programs
// read, and on request draws the contact sheet or renders the song to WAV.
#include <getopt.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "app/font_charset.h"
#include "assets/song/song.h"
#include "demo/duck_row.h"
#include "formats/png_file.h"
#include "tools/assetgen/duck_frames.h"
#include "tools/assetgen/font_sheet.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/module_render.h"
#include "tools/assetgen/preview.h"
#include "tools/assetgen/tga_writer.h"
#include "tools/assetgen/xm_writer.h"

namespace {

struct Options {
    std::string assetsDir;
    std::string dataDir;
    std::string previewPath;
    std::string iconsDir;
    std::string wavPath;
    bool help = false;
};

void PrintUsage(FILE* to) {
    std::fprintf(to,
                 "usage: assetgen [--assets DIR] [--data DIR] [--preview FILE.png] [--icons DIR]\n"
                 "                [--render-wav FILE.wav]\n"
                 "  --assets DIR        the sources: ducks/, font/; needed by --data and --preview\n"
                 "                      (the song is compiled in)\n"
                 "  --data DIR          writes the duck frames, fonts.tga and duck.xm there\n"
                 "  --preview FILE.png  writes the contact sheet of the frames and the font\n"
                 "  --icons DIR         writes the programs' icon, duckdemo-SIZE.png from 16 to 256\n"
                 "                      pixels and duckdemo.ico, drawn from the singing duck\n"
                 "  --render-wav FILE   plays the song once through libxmp at 44100 Hz into a WAV file\n"
                 "  --help              shows this text\n");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    const option longOptions[] = {
        {"assets", required_argument, nullptr, 'a'},
        {"data", required_argument, nullptr, 'd'},
        {"preview", required_argument, nullptr, 'p'},
        {"render-wav", required_argument, nullptr, 'w'},
        {"icons", required_argument, nullptr, 'i'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    int choice = 0;
    while ((choice = getopt_long(argc, argv, "", longOptions, nullptr)) != -1) {
        switch (choice) {
            case 'a':
                options.assetsDir = optarg;
                break;
            case 'd':
                options.dataDir = optarg;
                break;
            case 'p':
                options.previewPath = optarg;
                break;
            case 'w':
                options.wavPath = optarg;
                break;
            case 'i':
                options.iconsDir = optarg;
                break;
            case 'h':
                options.help = true;
                return true;
            default:
                return false;
        }
    }
    if (optind != argc) return false;
    bool drawsArt = !options.dataDir.empty() || !options.previewPath.empty() || !options.iconsDir.empty();
    if (drawsArt && options.assetsDir.empty()) return false;
    return !options.assetsDir.empty() || !options.wavPath.empty();
}

// The singing duck: the one the show is about, cheerful at any size.
void WriteIcons(const std::string& folder, const std::vector<Picture>& frames) {
    std::filesystem::create_directories(folder);
    std::vector<std::vector<uint8_t>> pngs;
    std::vector<int32_t> sizes;
    for (int32_t size : kIconSizes) {
        std::vector<uint32_t> icon = DrawIcon(frames[kSing], size);
        std::vector<uint8_t> rgba = PixelSamples(icon.data(), size, size, 4, false);
        std::vector<uint8_t> png = EncodePng({rgba.data(), size, size, 4}, PngCompression::Default);
        WriteBinaryFile(folder + "/duckdemo-" + std::to_string(size) + ".png", png);
        if (std::find(std::begin(kWindowsIconSizes), std::end(kWindowsIconSizes), size) == std::end(kWindowsIconSizes))
            continue;
        pngs.push_back(png);
        sizes.push_back(size);
    }
    WriteBinaryFile(folder + "/duckdemo.ico", IcoFile(pngs, sizes));
}

void Run(const Options& options) {
    if (!options.assetsDir.empty()) {
        auto frames = ReadDuckFrames(options.assetsDir);
        FontSheet font = ReadFontSheet(options.assetsDir + "/font/font.txt", kFontCharset);
        if (!options.dataDir.empty()) {
            std::filesystem::create_directories(options.dataDir);
            WriteDuckFrames(options.dataDir, frames);
            WriteFontSheet(options.dataDir + "/fonts.tga", font);
        }
        if (!options.previewPath.empty()) WritePreview(options.previewPath, frames, font);
        if (!options.iconsDir.empty()) WriteIcons(options.iconsDir, frames);
    }
    if (options.dataDir.empty() && options.wavPath.empty()) return;
    std::vector<uint8_t> module = WriteXm(ComposeSong().module);
    if (!options.dataDir.empty()) WriteBinaryFile(options.dataDir + "/duck.xm", module);
    if (!options.wavPath.empty()) WriteWav(options.wavPath, RenderModule(module, {}));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage(stderr);
        return 2;
    }
    if (options.help) {
        PrintUsage(stdout);
        return 0;
    }
    try {
        Run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
