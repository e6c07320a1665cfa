#include "gfx/turn.h"

#include "gfx/vector_path.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// A tile of 16 source columns by 80 rows: the 80 source rows it reads and the
// 16 (or 32) destination rows it writes all stay in the first-level cache.
constexpr int32_t kTileWidth = 16;
constexpr int32_t kTileHeight = 80;
constexpr int32_t kBlock = 4;

// Turns the 4 x 4 block whose bottom-left Pixel is bottomLeft into the block
// (or the 8 x 8 block, doubled) whose top-left Pixel is topLeft.
#if defined(__SSE2__)
template <bool Doubled>
void StoreRow(Pixel* topLeft, int32_t r, int32_t destinationStride, __m128i row) {
    auto store = [](Pixel* to, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(to), value); };
    if constexpr (Doubled) {
        __m128i left = _mm_unpacklo_epi32(row, row);
        __m128i right = _mm_unpackhi_epi32(row, row);
        Pixel* top = topLeft + 2 * r * destinationStride;
        store(top, left);
        store(top + kBlock, right);
        store(top + destinationStride, left);
        store(top + destinationStride + kBlock, right);
    } else {
        store(topLeft + r * destinationStride, row);
    }
}

template <bool Doubled>
void TurnBlockSse2(const Pixel* bottomLeft, int32_t sourceStride, Pixel* topLeft, int32_t destinationStride) {
    auto load = [&](int32_t up) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottomLeft - up * sourceStride));
    };
    __m128i r0 = load(0), r1 = load(1), r2 = load(2), r3 = load(3);
    __m128i low01 = _mm_unpacklo_epi32(r0, r1), high01 = _mm_unpackhi_epi32(r0, r1);
    __m128i low23 = _mm_unpacklo_epi32(r2, r3), high23 = _mm_unpackhi_epi32(r2, r3);
    StoreRow<Doubled>(topLeft, 0, destinationStride, _mm_unpacklo_epi64(low01, low23));
    StoreRow<Doubled>(topLeft, 1, destinationStride, _mm_unpackhi_epi64(low01, low23));
    StoreRow<Doubled>(topLeft, 2, destinationStride, _mm_unpacklo_epi64(high01, high23));
    StoreRow<Doubled>(topLeft, 3, destinationStride, _mm_unpackhi_epi64(high01, high23));
}
#endif

template <bool Doubled>
void TurnBlockPlain(const Pixel* bottomLeft, int32_t sourceStride, Pixel* topLeft, int32_t destinationStride) {
    for (int32_t r = 0; r < kBlock; ++r) {
        for (int32_t i = 0; i < kBlock; ++i) {
            Pixel value = bottomLeft[r - i * sourceStride];
            if constexpr (Doubled) {
                Pixel* top = topLeft + 2 * r * destinationStride + 2 * i;
                top[0] = top[1] = top[destinationStride] = top[destinationStride + 1] = value;
            } else {
                topLeft[r * destinationStride + i] = value;
            }
        }
    }
}

template <bool Doubled, void (*TurnBlock)(const Pixel*, int32_t, Pixel*, int32_t)>
void TurnTiles(const Pixel* source, int32_t width, int32_t height, Pixel* destination, int32_t destinationStride) {
    constexpr int32_t kScale = Doubled ? 2 : 1;
    for (int32_t tileColumn = 0; tileColumn < height; tileColumn += kTileHeight) {
        for (int32_t tileX = 0; tileX < width; tileX += kTileWidth) {
            for (int32_t column = tileColumn; column < tileColumn + kTileHeight; column += kBlock) {
                const Pixel* bottomRow = source + (height - 1 - column) * width;
                for (int32_t x = tileX; x < tileX + kTileWidth; x += kBlock) {
                    TurnBlock(bottomRow + x, width, destination + kScale * (x * destinationStride + column),
                              destinationStride);
                }
            }
        }
    }
}

}  // namespace

void TurnClockwise(const Pixel* source, int32_t width, int32_t height, Pixel* destination, int32_t destinationStride,
                   bool doubled) {
#if defined(__SSE2__)
    if (CurrentVectorPath() != VectorPath::kPlain) {
        if (doubled) {
            TurnTiles<true, TurnBlockSse2<true>>(source, width, height, destination, destinationStride);
        } else {
            TurnTiles<false, TurnBlockSse2<false>>(source, width, height, destination, destinationStride);
        }
        return;
    }
#endif
    if (doubled) {
        TurnTiles<true, TurnBlockPlain<true>>(source, width, height, destination, destinationStride);
    } else {
        TurnTiles<false, TurnBlockPlain<false>>(source, width, height, destination, destinationStride);
    }
}
