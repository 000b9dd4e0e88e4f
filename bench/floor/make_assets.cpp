// Writes the files the scenes load, into the current directory.
//   make_assets sprite                 sprite.png: a 32x32 RGBA sprite
//   make_assets font FRAME.bmp         font.bin (the floor's font table) and
//                                      font_love.png (the same glyphs as an
//                                      image font) from a frame in which the
//                                      interpreter drew glyphs 1..255 in white
//                                      on black at size 1 along the top row
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <SDL.h>
#include <SDL_image.h>

namespace {

uint32_t& Pixel(SDL_Surface* s, int x, int y) { return static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x]; }

SDL_Surface* NewRgba(int w, int h) { return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32); }

uint32_t Rgba(SDL_Surface* s, int r, int g, int b, int a) {
    return SDL_MapRGBA(s->format, static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b), static_cast<Uint8>(a));
}

// A shaded ball with a dark rim and an arrow, so rotation is visible;
// transparent outside the disc.
int MakeSprite() {
    SDL_Surface* s = NewRgba(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            double dx = x - 15.5, dy = y - 15.5, d = std::sqrt(dx * dx + dy * dy);
            uint32_t c = Rgba(s, 0, 0, 0, 0);
            if (d < 15.5) {
                int shade = static_cast<int>(255 - d * 8);
                c = d > 13.5 ? Rgba(s, 40, 20, 80, 255) : Rgba(s, shade, 120 + shade / 3, 60, 255);
                if (y >= 14 && y <= 17 && x >= 6 && x <= 25) c = Rgba(s, 255, 255, 255, 255);
                if (x >= 20 && x <= 25 && std::abs(y - 15.5) <= 26 - x) c = Rgba(s, 255, 255, 255, 255);
            }
            Pixel(s, x, y) = c;
        }
    int rc = IMG_SavePNG(s, "sprite.png");
    SDL_FreeSurface(s);
    return rc == 0 ? 0 : 1;
}

int MakeFont(const char* frame) {
    SDL_Surface* loaded = SDL_LoadBMP(frame);
    if (!loaded) {
        std::fprintf(stderr, "%s: %s\n", frame, SDL_GetError());
        return 1;
    }
    SDL_Surface* in = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (in->w < 256 * 8 || in->h < 8) {
        std::fprintf(stderr, "%s: frame too small\n", frame);
        return 1;
    }
    static uint8_t font[256][8][8];
    int setPixels = 0;
    for (int c = 1; c < 256; ++c)
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 8; ++k) {
                Uint8 red, green, blue;
                SDL_GetRGB(Pixel(in, c * 8 + k, r), in->format, &red, &green, &blue);
                font[c][r][k] = red > 127 ? 1 : 0;
                setPixels += font[c][r][k];
            }
    if (setPixels == 0) {
        std::fprintf(stderr, "%s: no glyph pixels found\n", frame);
        return 1;
    }
    FILE* f = std::fopen("font.bin", "wb");
    if (!f || std::fwrite(font, sizeof font, 1, f) != 1) return 1;
    std::fclose(f);

    // Image font of the printable characters 32..126: each glyph 8 pixels
    // wide, bounded by separator columns of the colour of the first pixel.
    const int count = 95;
    SDL_Surface* out = NewRgba(1 + count * 9, 8);
    uint32_t separator = Rgba(out, 255, 0, 255, 255), set = Rgba(out, 255, 255, 255, 255), clear = Rgba(out, 0, 0, 0, 0);
    for (int y = 0; y < 8; ++y) {
        Pixel(out, 0, y) = separator;
        for (int g = 0; g < count; ++g) {
            for (int k = 0; k < 8; ++k) Pixel(out, 1 + g * 9 + k, y) = font[32 + g][y][k] ? set : clear;
            Pixel(out, 1 + g * 9 + 8, y) = separator;
        }
    }
    int rc = IMG_SavePNG(out, "font_love.png");
    SDL_FreeSurface(out);
    SDL_FreeSurface(in);
    std::printf("font: %d set pixels in glyphs 1..255\n", setPixels);
    return rc == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string what = argc > 1 ? argv[1] : "";
    if (what == "sprite") return MakeSprite();
    if (what == "font" && argc > 2) return MakeFont(argv[2]);
    std::fprintf(stderr, "usage: make_assets sprite | font FRAME.bmp\n");
    return 2;
}
