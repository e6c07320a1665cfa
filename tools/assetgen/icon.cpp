#include "tools/assetgen/icon.h"

#include <algorithm>
#include <stdexcept>

namespace {

struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t side = 0;  // a square around the duck, centred on it
};

bool IsKey(const Rgb& colour) { return colour == Rgb{}; }

// The smallest square holding every pixel that is not the key; pixels of it
// outside the frame count as key.
Box DuckBox(const Picture& frame) {
    int32_t left = frame.width, top = frame.height, right = -1, bottom = -1;
    for (int32_t y = 0; y < frame.height; ++y) {
        for (int32_t x = 0; x < frame.width; ++x) {
            if (IsKey(frame.At(x, y))) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) throw std::runtime_error("the icon's frame holds no duck");
    int32_t width = right - left + 1, height = bottom - top + 1;
    int32_t side = std::max(width, height);
    return {left - (side - width) / 2, top - (side - height) / 2, side};
}

}  // namespace

// Area averaging in fixed point: the duck's square is side source pixels,
// the icon's content square inner pixels; a source pixel spans inner units
// and an icon pixel side units, so the overlaps are whole numbers. Colours
// are weighted by coverage, so the key never darkens an edge.
std::vector<uint32_t> DrawIcon(const Picture& frame, int32_t size) {
    Box box = DuckBox(frame);
    int32_t margin = size / 16;
    int32_t inner = size - 2 * margin;
    std::vector<uint32_t> icon(static_cast<size_t>(size) * size, 0);
    auto overlap = [&](int32_t target, int32_t source) {
        int32_t from = std::max(target * box.side, source * inner);
        int32_t to = std::min((target + 1) * box.side, (source + 1) * inner);
        return std::max(0, to - from);
    };
    for (int32_t y = 0; y < inner; ++y) {
        for (int32_t x = 0; x < inner; ++x) {
            int64_t red = 0, green = 0, blue = 0, covered = 0;
            for (int32_t sy = y * box.side / inner; sy <= ((y + 1) * box.side - 1) / inner; ++sy) {
                for (int32_t sx = x * box.side / inner; sx <= ((x + 1) * box.side - 1) / inner; ++sx) {
                    int32_t fx = box.left + sx, fy = box.top + sy;
                    if (fx < 0 || fy < 0 || fx >= frame.width || fy >= frame.height) continue;
                    const Rgb& colour = frame.At(fx, fy);
                    if (IsKey(colour)) continue;
                    int64_t weight = static_cast<int64_t>(overlap(x, sx)) * overlap(y, sy);
                    red += colour.red * weight;
                    green += colour.green * weight;
                    blue += colour.blue * weight;
                    covered += weight;
                }
            }
            if (covered == 0) continue;
            int64_t whole = static_cast<int64_t>(box.side) * box.side;
            auto channel = [&](int64_t sum) { return static_cast<uint32_t>((sum + covered / 2) / covered); };
            uint32_t alpha = static_cast<uint32_t>((covered * 255 + whole / 2) / whole);
            icon[static_cast<size_t>(y + margin) * size + x + margin] =
                alpha << 24 | channel(red) << 16 | channel(green) << 8 | channel(blue);
        }
    }
    return icon;
}

namespace {

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int32_t count) {
    for (int32_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

// The header, a 16-byte entry per picture, then the pictures; a size of 256
// is written as 0, as the format has it.
std::vector<uint8_t> IcoFile(const std::vector<std::vector<uint8_t>>& pngs, const std::vector<int32_t>& sizes) {
    std::vector<uint8_t> bytes;
    PutLittleEndian(bytes, 0, 2);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, static_cast<uint32_t>(pngs.size()), 2);
    uint32_t offset = static_cast<uint32_t>(6 + 16 * pngs.size());
    for (size_t i = 0; i < pngs.size(); ++i) {
        uint8_t side = static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]);
        bytes.insert(bytes.end(), {side, side, 0, 0});
        PutLittleEndian(bytes, 1, 2);   // colour planes
        PutLittleEndian(bytes, 32, 2);  // bits per pixel
        PutLittleEndian(bytes, static_cast<uint32_t>(pngs[i].size()), 4);
        PutLittleEndian(bytes, offset, 4);
        offset += static_cast<uint32_t>(pngs[i].size());
    }
    for (const auto& png : pngs) bytes.insert(bytes.end(), png.begin(), png.end());
    return bytes;
}
