// The dialog's text, drawn with a real TrueType font through SDL_ttf.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <iterator>

#include "standin/host/host_window.h"
#include "standin/host/sdl_host.h"

namespace standin {
namespace {

constexpr const char* kFontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
};

// Plain data, so it outlives every destructor and the host's exit handler
// can still close what it holds.
struct OpenFont {
    int32_t size;
    TTF_Font* font;
};
OpenFont openFonts[8];
int openFontCount = 0;

TTF_Font* FontOfSize(int32_t pixelSize) {
    for (int i = 0; i < openFontCount; ++i)
        if (openFonts[i].size == pixelSize) return openFonts[i].font;
    if (openFontCount == static_cast<int>(std::size(openFonts))) return nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    for (const char* path : kFontPaths) {
        if (TTF_Font* font = TTF_OpenFont(path, pixelSize)) {
            openFonts[openFontCount++] = {pixelSize, font};
            return font;
        }
    }
    static bool warned = false;
    if (!warned) std::fprintf(stderr, "warning: no font found for the dialog's text (%s)\n", TTF_GetError());
    warned = true;
    return nullptr;
}

}  // namespace

void CloseHostFonts() {
    for (int i = 0; i < openFontCount; ++i) TTF_CloseFont(openFonts[i].font);
    openFontCount = 0;
    if (TTF_WasInit()) TTF_Quit();
}

int32_t HostDrawText(uint32_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y, const char* utf8,
                     int32_t pixelSize, uint32_t colour) {
    TTF_Font* font = FontOfSize(pixelSize);
    if (font == nullptr || utf8 == nullptr || *utf8 == '\0') return 0;
    SDL_Color sdlColour{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour), 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8, sdlColour);
    if (rendered == nullptr) return 0;
    SDL_Surface* text = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (text == nullptr) return 0;

    for (int32_t row = 0; row < text->h; ++row) {
        int32_t targetY = y + row;
        if (targetY < 0 || targetY >= height) continue;
        const auto* from =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(text->pixels) + row * text->pitch);
        for (int32_t column = 0; column < text->w; ++column) {
            int32_t targetX = x + column;
            if (targetX < 0 || targetX >= width) continue;
            uint32_t alpha = from[column] >> 24;
            uint32_t& to = pixels[targetY * width + targetX];
            uint32_t blended = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t over = (from[column] >> shift) & 0xFF;
                uint32_t under = (to >> shift) & 0xFF;
                blended |= ((over * alpha + under * (255 - alpha)) / 255) << shift;
            }
            to = blended;
        }
    }
    int32_t drawn = text->w;
    SDL_FreeSurface(text);
    return drawn;
}

int32_t HostTextWidth(const char* utf8, int32_t pixelSize) {
    TTF_Font* font = FontOfSize(pixelSize);
    int textWidth = 0;
    if (font == nullptr || TTF_SizeUTF8(font, utf8, &textWidth, nullptr) != 0) return 0;
    return textWidth;
}

}  // namespace standin
