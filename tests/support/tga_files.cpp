#include "support/tga_files.h"

#include <cstdio>
#include <gtest/gtest.h>

#include "support/test_files.h"

namespace {

void Put16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

ScratchFile::~ScratchFile() {
    if (!path.empty()) std::remove(path.c_str());
}

std::string UniqueTestPath(const char* stem) {
    static int counter = 0;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test != nullptr ? test->name() : "outside";
    return TestFilePath(name + "_" + stem + "_" + std::to_string(++counter) + ".tga");
}

void WriteTgaTo(const std::string& path, const TgaContents& contents) {
    std::vector<uint8_t> bytes(18, 0);
    bool mapped = !contents.palette.empty();
    bytes[1] = mapped ? 1 : 0;
    bytes[2] = mapped ? 1 : 2;
    if (mapped) {
        Put16(bytes, 5, static_cast<uint16_t>(contents.palette.size() / 3));
        bytes[7] = 24;
    }
    Put16(bytes, 12, contents.width);
    Put16(bytes, 14, contents.height);
    bytes[16] = contents.depth;
    bytes[17] = contents.descriptor;
    bytes.insert(bytes.end(), contents.palette.begin(), contents.palette.end());
    bytes.insert(bytes.end(), contents.data.begin(), contents.data.end());
    if (contents.cutTo >= 0 && static_cast<size_t>(contents.cutTo) < bytes.size()) {
        bytes.resize(static_cast<size_t>(contents.cutTo));
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        ADD_FAILURE() << "cannot write " << path;
        return;
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

ScratchFile WriteTga(const char* stem, const TgaContents& contents) {
    ScratchFile file(UniqueTestPath(stem));
    WriteTgaTo(file.Path(), contents);
    return file;
}

std::vector<uint8_t> StoreRows24(const std::vector<Pixel>& topDown, int32_t width, int32_t height) {
    std::vector<uint8_t> data;
    for (int32_t row = height - 1; row >= 0; --row) {
        for (int32_t x = 0; x < width; ++x) {
            Pixel p = topDown[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            data.push_back(static_cast<uint8_t>(p));
            data.push_back(static_cast<uint8_t>(p >> 8));
            data.push_back(static_cast<uint8_t>(p >> 16));
        }
    }
    return data;
}
