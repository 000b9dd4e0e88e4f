// Floor for the text scene: a screen full of 8x8 glyphs at text size S.
// Variant "calls" (default) makes the SDL calls drawtext makes: one
// SDL_RenderFillRect per set glyph pixel. The candidates for batching, which
// draw the same pixels: "rects" sends all pixels of one drawtext call in one
// SDL_RenderFillRects call (they never overlap); "geometry" sends them as
// two triangles each in one SDL_RenderGeometry call; "atlas" copies each glyph
// from one texture holding all glyphs in white, tinted with the draw colour.
#include <cstdint>
#include <string>
#include <vector>

#include "common.hpp"

using namespace floorbench;

namespace {

// The built-in font as dumped from the interpreter: 256 glyphs of 8 rows of
// 8 bytes, 1 for a set pixel.
uint8_t font[256][8][8];

bool LoadFont(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fread(font, sizeof font, 1, f) == 1;
    std::fclose(f);
    return ok;
}

void DrawTextCalls(const std::string& text, int x, int y, int s) {
    SDL_Renderer* renderer = ActiveRenderer();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto& glyph = font[static_cast<uint8_t>(text[i])];
        int gx = x + 8 * s * static_cast<int>(i);
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 8; ++k)
                if (glyph[r][k] == 1) {
                    SDL_Rect rect{gx + k * s, y + r * s, s, s};
                    SDL_RenderFillRect(renderer, &rect);
                }
    }
}

void GlyphRects(const std::string& text, int x, int y, int s, std::vector<SDL_Rect>& rects) {
    rects.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto& glyph = font[static_cast<uint8_t>(text[i])];
        int gx = x + 8 * s * static_cast<int>(i);
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 8; ++k)
                if (glyph[r][k] == 1) rects.push_back(SDL_Rect{gx + k * s, y + r * s, s, s});
    }
}

void DrawTextRects(const std::string& text, int x, int y, int s, std::vector<SDL_Rect>& rects) {
    SDL_Renderer* renderer = ActiveRenderer();
    GlyphRects(text, x, y, s, rects);
    if (!rects.empty()) SDL_RenderFillRects(renderer, rects.data(), static_cast<int>(rects.size()));
}

void DrawTextGeometry(const std::string& text, int x, int y, int s, std::vector<SDL_Rect>& rects,
                      std::vector<SDL_Vertex>& vertices, std::vector<int>& indices) {
    SDL_Renderer* renderer = ActiveRenderer();
    GlyphRects(text, x, y, s, rects);
    FillRectsAsGeometry(renderer, rects.data(), static_cast<int>(rects.size()), vertices, indices);
}

// All 256 glyphs side by side, white where set, transparent elsewhere.
SDL_Texture* MakeAtlas() {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 256 * 8, 8, 32, SDL_PIXELFORMAT_RGBA32);
    for (int c = 0; c < 256; ++c)
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 8; ++k) {
                auto* row = static_cast<uint32_t*>(surface->pixels) + r * surface->pitch / 4;
                row[c * 8 + k] = font[c][r][k] == 1 ? 0xFFFFFFFFu : 0u;
            }
    SDL_Texture* atlas = SDL_CreateTextureFromSurface(ActiveRenderer(), surface);
    SDL_FreeSurface(surface);
    SDL_SetTextureBlendMode(atlas, SDL_BLENDMODE_BLEND);
    return atlas;
}

void DrawTextAtlas(SDL_Texture* atlas, const std::string& text, int x, int y, int s, const SDL_Color& colour) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_SetTextureColorMod(atlas, colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(atlas, colour.a);
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint8_t c = static_cast<uint8_t>(text[i]);
        SDL_Rect source{c * 8, 0, 8, 8};
        SDL_Rect destination{x + 8 * s * static_cast<int>(i), y, 8 * s, 8 * s};
        SDL_RenderCopy(renderer, atlas, &source, &destination);
    }
}

}  // namespace

int main(int argc, char** argv) {
    FrameArgs args = ParseFrameArgs(argc, argv);  // N is the text size
    int s = args.n;
    if (!LoadFont("font.bin")) {
        std::fprintf(stderr, "font.bin missing\n");
        return 1;
    }
    StartMedia();
    activeWindow = OpenWindow("text", 640, 480);
    ReportRenderer();
    SDL_Texture* atlas = args.variant == "atlas" ? MakeAtlas() : nullptr;
    int cols = 640 / (8 * s), rows = 480 / (8 * s);
    // 95 printable characters, twice, so that every line is a substring.
    std::string pattern;
    for (int k = 0; k < 2 * 95 + cols; ++k) pattern += static_cast<char>(32 + k % 95);
    std::vector<SDL_Rect> rects;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    SDL_Color white{255, 255, 255, SceneAlpha()};
    RunFrames(args, args.n, [&](int f, int) {
        Color(white.r, white.g, white.b, white.a);
        for (int r = 0; r < rows; ++r) {
            std::string line = pattern.substr((r * 7 + f) % 95, cols);
            if (args.variant == "rects") DrawTextRects(line, 0, r * 8 * s, s, rects);
            else if (args.variant == "geometry") DrawTextGeometry(line, 0, r * 8 * s, s, rects, vertices, indices);
            else if (atlas) DrawTextAtlas(atlas, line, 0, r * 8 * s, s, white);
            else DrawTextCalls(line, 0, r * 8 * s, s);
        }
    });
    return 0;
}
