#include "gfx/pixel_rows.h"

#include <cstring>

#include "gfx/vector_path.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

constexpr uint32_t Pack555(Pixel p) { return (p >> 9 & 0x7C00u) | (p >> 6 & 0x03E0u) | (p >> 3 & 0x001Fu); }

template <uint32_t (*Pack)(Pixel)>
void PackWordsPlain(const Pixel* source, uint8_t* destination, uint32_t count, std::endian order) {
    int32_t lowByte = order == std::endian::little ? 0 : 1;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t word = Pack(source[i]);
        destination[2 * i + lowByte] = static_cast<uint8_t>(word);
        destination[2 * i + 1 - lowByte] = static_cast<uint8_t>(word >> 8);
    }
}

void PackBytesPlain(const Pixel* source, uint8_t* destination, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        destination[3 * i] = static_cast<uint8_t>(source[i]);
        destination[3 * i + 1] = static_cast<uint8_t>(source[i] >> 8);
        destination[3 * i + 2] = static_cast<uint8_t>(source[i] >> 16);
    }
}

// The fields of a 16-bit word, each masked from the Pixel and scaled by the
// same power of two, Scale: red and blue with one multiply-add of the
// Pixel's 16-bit halves, green already where it belongs.
struct WordFormat {
    int32_t redBlueMask;
    int16_t blueFactor;
    int16_t redFactor;
    int32_t greenMask;
    int32_t scale;
};
constexpr WordFormat k565{0x00F800F8, 4, 8192, 0x0000FC00, 5};
constexpr WordFormat k555{0x00F800F8, 8, 8192, 0x0000F800, 6};

#if defined(__SSE2__)

constexpr int32_t Factors(WordFormat format) {
    return static_cast<int32_t>(static_cast<uint32_t>(format.redFactor) << 16 |
                                static_cast<uint16_t>(format.blueFactor));
}

__m128i Load(const Pixel* source) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(source)); }

void Store(void* destination, __m128i value) { _mm_storeu_si128(static_cast<__m128i*>(destination), value); }

// Four words, each moved to the low half of its lane sign-extended, so the
// signed saturating pack that narrows eight of them keeps every bit.
template <WordFormat Format>
__m128i WordLanes(__m128i pixels) {
    __m128i redBlue =
        _mm_madd_epi16(_mm_and_si128(pixels, _mm_set1_epi32(Format.redBlueMask)), _mm_set1_epi32(Factors(Format)));
    __m128i scaled = _mm_or_si128(redBlue, _mm_and_si128(pixels, _mm_set1_epi32(Format.greenMask)));
    return _mm_srai_epi32(_mm_slli_epi32(scaled, 16 - Format.scale), 16);
}

template <WordFormat Format>
uint32_t PackWordsSse2(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t done = 0;
    for (; done + 8 <= count; done += 8) {
        __m128i words =
            _mm_packs_epi32(WordLanes<Format>(Load(source + done)), WordLanes<Format>(Load(source + done + 4)));
        Store(destination + 2 * done, words);
    }
    return done;
}

// The same, sixteen Pixels at a time. The pack narrows within each 128-bit
// half, so the quarters are put back in order after it.
template <WordFormat Format>
__attribute__((target("avx2"))) uint32_t PackWordsAvx2(const Pixel* source, uint8_t* destination, uint32_t count) {
    const __m256i redBlueMask = _mm256_set1_epi32(Format.redBlueMask);
    const __m256i factors = _mm256_set1_epi32(Factors(Format));
    const __m256i greenMask = _mm256_set1_epi32(Format.greenMask);
    uint32_t done = 0;
    for (; done + 16 <= count; done += 16) {
        __m256i words[2];
        for (int32_t half = 0; half < 2; ++half) {
            __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + done + 8 * half));
            __m256i scaled = _mm256_or_si256(_mm256_madd_epi16(_mm256_and_si256(pixels, redBlueMask), factors),
                                             _mm256_and_si256(pixels, greenMask));
            words[half] = _mm256_srai_epi32(_mm256_slli_epi32(scaled, 16 - Format.scale), 16);
        }
        __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(words[0], words[1]), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + 2 * done), packed);
    }
    return done;
}

// Four Pixels as twelve bytes in the low three quarters: each 64-bit lane
// first closes the gap above its low Pixel, then the high lane's six bytes
// move down beside the low lane's.
__m128i ByteLanes(__m128i pixels) {
    __m128i low = _mm_and_si128(pixels, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
    __m128i high =
        _mm_and_si128(_mm_srli_epi64(pixels, 8), _mm_set_epi32(0x0000FFFF, -16777216, 0x0000FFFF, -16777216));
    __m128i lanes = _mm_or_si128(low, high);
    __m128i lowSix = _mm_and_si128(lanes, _mm_set_epi32(0, 0, 0x0000FFFF, -1));
    __m128i highSix = _mm_and_si128(_mm_srli_si128(lanes, 2), _mm_set_epi32(0, -1, -65536, 0));
    return _mm_or_si128(lowSix, highSix);
}

// Sixteen Pixels fill three whole vectors.
uint32_t PackBytesSse2(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t done = 0;
    for (; done + 16 <= count; done += 16) {
        __m128i a = ByteLanes(Load(source + done)), b = ByteLanes(Load(source + done + 4));
        __m128i c = ByteLanes(Load(source + done + 8)), d = ByteLanes(Load(source + done + 12));
        uint8_t* out = destination + 3 * done;
        Store(out, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        Store(out + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        Store(out + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return done;
}

// With a byte shuffle, each output vector is two shuffles of the Pixels it
// holds, whichever lanes they come from: output byte k takes input byte
// index[k], and -1 gives zero.
__attribute__((target("ssse3"))) uint32_t PackBytesSsse3(const Pixel* source, uint8_t* destination, uint32_t count) {
    const __m128i aFirst = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i bFirst = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 4);
    const __m128i bSecond = _mm_setr_epi8(5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i cSecond = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6, 8, 9);
    const __m128i cThird = _mm_setr_epi8(10, 12, 13, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i dThird = _mm_setr_epi8(-1, -1, -1, -1, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14);
    uint32_t done = 0;
    for (; done + 16 <= count; done += 16) {
        __m128i a = Load(source + done), b = Load(source + done + 4);
        __m128i c = Load(source + done + 8), d = Load(source + done + 12);
        uint8_t* out = destination + 3 * done;
        Store(out, _mm_or_si128(_mm_shuffle_epi8(a, aFirst), _mm_shuffle_epi8(b, bFirst)));
        Store(out + 16, _mm_or_si128(_mm_shuffle_epi8(b, bSecond), _mm_shuffle_epi8(c, cSecond)));
        Store(out + 32, _mm_or_si128(_mm_shuffle_epi8(c, cThird), _mm_shuffle_epi8(d, dThird)));
    }
    return done;
}

// Eight Pixels to 24 bytes: the shuffle closes each 128-bit half's four
// Pixels up to its low twelve bytes, the permute puts the halves' twelve
// bytes side by side. A 32-byte store runs eight bytes past its Pixels,
// which the next store writes over; the row's last group is stored in two
// parts instead, so nothing after the row is touched.
__attribute__((target("avx2"))) uint32_t PackBytesAvx2(const Pixel* source, uint8_t* destination, uint32_t count) {
    const __m256i closeUp = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                                             8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i sideBySide = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    uint32_t done = 0;
    for (; done + 11 <= count; done += 8) {
        __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + done));
        __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, closeUp), sideBySide);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + 3 * done), bytes);
    }
    if (done + 8 <= count) {
        __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + done));
        __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, closeUp), sideBySide);
        uint8_t* out = destination + 3 * done;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
        done += 8;
    }
    return done;
}

// The rectangle copies take whole rows, so a row costs no call; each row's
// last few Pixels go one at a time.
void CopyRectSse2(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns, int32_t rows) {
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        int32_t column = 0;
        for (; column + 4 <= columns; column += 4) Store(to + column, Load(from + column));
        for (; column < columns; ++column) to[column] = from[column];
    }
}

__attribute__((target("avx2"))) void CopyRectAvx2(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride,
                                                  int32_t columns, int32_t rows) {
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        int32_t column = 0;
        for (; column + 8 <= columns; column += 8) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + column),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + column)));
        }
        for (; column < columns; ++column) to[column] = from[column];
    }
}

void CopyRectKeyedSse2(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns,
                       int32_t rows, Pixel key) {
    const __m128i keys = _mm_set1_epi32(static_cast<int32_t>(key));
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        int32_t column = 0;
        for (; column + 4 <= columns; column += 4) {
            __m128i source = Load(from + column);
            __m128i keyed = _mm_cmpeq_epi32(source, keys);
            __m128i kept = _mm_and_si128(keyed, Load(to + column));
            Store(to + column, _mm_or_si128(_mm_andnot_si128(keyed, source), kept));
        }
        for (; column < columns; ++column) {
            if (from[column] != key) to[column] = from[column];
        }
    }
}

__attribute__((target("avx2"))) void CopyRectKeyedAvx2(const Pixel* from, int32_t fromStride, Pixel* to,
                                                       int32_t toStride, int32_t columns, int32_t rows, Pixel key) {
    const __m256i keys = _mm256_set1_epi32(static_cast<int32_t>(key));
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        int32_t column = 0;
        for (; column + 8 <= columns; column += 8) {
            __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + column));
            __m256i kept = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(to + column));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + column),
                                _mm256_blendv_epi8(source, kept, _mm256_cmpeq_epi32(source, keys)));
        }
        for (; column < columns; ++column) {
            if (from[column] != key) to[column] = from[column];
        }
    }
}

// (channel * level) >> 8 is the high half of channel * (level << 8): the
// unsigned high multiply of the 16-bit lanes gives blue and red, and green
// from its place in the low lane; alpha is kept as it is.
size_t ScaleColoursSse2(Pixel* pixels, size_t count, int32_t level) {
    const __m128i factor = _mm_set1_epi16(static_cast<int16_t>((level & 255) << 8));
    const __m128i redBlue = _mm_set1_epi32(0x00FF00FF), green = _mm_set1_epi32(0x0000FF00);
    const __m128i alpha = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    size_t done = 0;
    for (; done + 4 <= count; done += 4) {
        __m128i p = Load(pixels + done);
        __m128i scaledRedBlue = _mm_mulhi_epu16(_mm_and_si128(p, redBlue), factor);
        __m128i scaledGreen = _mm_and_si128(_mm_mulhi_epu16(_mm_and_si128(p, green), factor), green);
        Store(pixels + done, _mm_or_si128(_mm_or_si128(scaledRedBlue, scaledGreen), _mm_and_si128(p, alpha)));
    }
    return done;
}

__attribute__((target("avx2"))) size_t ScaleColoursAvx2(Pixel* pixels, size_t count, int32_t level) {
    const __m256i factor = _mm256_set1_epi16(static_cast<int16_t>((level & 255) << 8));
    const __m256i redBlue = _mm256_set1_epi32(0x00FF00FF), green = _mm256_set1_epi32(0x0000FF00);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
    size_t done = 0;
    for (; done + 8 <= count; done += 8) {
        __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + done));
        __m256i scaledRedBlue = _mm256_mulhi_epu16(_mm256_and_si256(p, redBlue), factor);
        __m256i scaledGreen = _mm256_and_si256(_mm256_mulhi_epu16(_mm256_and_si256(p, green), factor), green);
        __m256i scaled = _mm256_or_si256(_mm256_or_si256(scaledRedBlue, scaledGreen), _mm256_and_si256(p, alpha));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + done), scaled);
    }
    return done;
}

#endif

// The Pixels the vector path packed, from the front; the plain loop does the rest.
template <WordFormat Format>
uint32_t PackWordsVector([[maybe_unused]] const Pixel* source, [[maybe_unused]] uint8_t* destination,
                         [[maybe_unused]] uint32_t count) {
#if defined(__SSE2__)
    switch (CurrentVectorPath()) {
        case VectorPath::kAvx2:
            return PackWordsAvx2<Format>(source, destination, count);
        case VectorPath::kSsse3:
        case VectorPath::kSse2:
            return PackWordsSse2<Format>(source, destination, count);
        case VectorPath::kPlain:
            break;
    }
#endif
    return 0;
}

}  // namespace

void PackRow565(const Pixel* source, uint8_t* destination, uint32_t count, std::endian order) {
    uint32_t done = order == std::endian::little ? PackWordsVector<k565>(source, destination, count) : 0;
    PackWordsPlain<PackRgb565Wide>(source + done, destination + 2 * done, count - done, order);
}

void PackRow555(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t done = PackWordsVector<k555>(source, destination, count);
    PackWordsPlain<Pack555>(source + done, destination + 2 * done, count - done, std::endian::little);
}

void PackRow888(const Pixel* source, uint8_t* destination, uint32_t count) {
    uint32_t done = 0;
#if defined(__SSE2__)
    switch (CurrentVectorPath()) {
        case VectorPath::kAvx2:
            done = PackBytesAvx2(source, destination, count);
            break;
        case VectorPath::kSsse3:
            done = PackBytesSsse3(source, destination, count);
            break;
        case VectorPath::kSse2:
            done = PackBytesSse2(source, destination, count);
            break;
        case VectorPath::kPlain:
            break;
    }
#endif
    PackBytesPlain(source + done, destination + 3 * done, count - done);
}

void CopyPixelRect(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns, int32_t rows) {
#if defined(__SSE2__)
    switch (CurrentVectorPath()) {
        case VectorPath::kAvx2:
            return CopyRectAvx2(from, fromStride, to, toStride, columns, rows);
        case VectorPath::kSsse3:
        case VectorPath::kSse2:
            return CopyRectSse2(from, fromStride, to, toStride, columns, rows);
        case VectorPath::kPlain:
            break;
    }
#endif
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        std::memcpy(to, from, static_cast<size_t>(columns) * sizeof(Pixel));
    }
}

void CopyPixelRectKeyed(const Pixel* from, int32_t fromStride, Pixel* to, int32_t toStride, int32_t columns,
                        int32_t rows, Pixel key) {
#if defined(__SSE2__)
    switch (CurrentVectorPath()) {
        case VectorPath::kAvx2:
            return CopyRectKeyedAvx2(from, fromStride, to, toStride, columns, rows, key);
        case VectorPath::kSsse3:
        case VectorPath::kSse2:
            return CopyRectKeyedSse2(from, fromStride, to, toStride, columns, rows, key);
        case VectorPath::kPlain:
            break;
    }
#endif
    for (int32_t row = 0; row < rows; ++row, from += fromStride, to += toStride) {
        for (int32_t column = 0; column < columns; ++column) {
            if (from[column] != key) to[column] = from[column];
        }
    }
}

void ScaleColours(Pixel* pixels, size_t count, int32_t level) {
    size_t done = 0;
#if defined(__SSE2__)
    VectorPath path = CurrentVectorPath();
    if (path == VectorPath::kAvx2)
        done = ScaleColoursAvx2(pixels, count, level);
    else if (path != VectorPath::kPlain)
        done = ScaleColoursSse2(pixels, count, level);
#endif
    for (size_t i = done; i < count; ++i) pixels[i] = ScaleColour(pixels[i], level);
}
