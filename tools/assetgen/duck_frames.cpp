#include "tools/assetgen/duck_frames.h"

#include <string_view>

#include "demo/duck_row.h"
#include "tools/assetgen/tga_writer.h"

namespace {

constexpr std::string_view kFilePrefix = "duckie_";

}  // namespace

std::string DuckFrameFileName(int32_t index) {
    std::string_view path = kDuckFrameFiles[index];
    return std::string(path.substr(path.find_last_of("\\/") + 1));
}

std::string DuckFrameName(int32_t index) {
    std::string name = DuckFrameFileName(index);
    name = name.substr(kFilePrefix.size());
    return name.substr(0, name.rfind('.'));
}

std::vector<Picture> ReadDuckFrames(const std::string& assetsDir) {
    Palette palette = ReadPalette(assetsDir + "/ducks/palette.txt");
    std::vector<Picture> frames;
    for (int32_t index = 0; index < kDuckFrameCount; ++index) {
        std::string path = assetsDir + "/ducks/" + DuckFrameName(index) + ".txt";
        frames.push_back(ReadPicture(path, palette, kDuckWidth, kDuckHeight));
    }
    return frames;
}

void WriteDuckFrames(const std::string& dataDir, const std::vector<Picture>& frames) {
    for (size_t index = 0; index < frames.size(); ++index) {
        WriteTga24(dataDir + "/" + DuckFrameFileName(static_cast<int32_t>(index)), frames[index]);
    }
}
