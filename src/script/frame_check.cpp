#include "script/frame_check.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/image_library.hpp"

namespace vorlune::script {
namespace {

constexpr uint32_t kColour = 0xFFFFFF00u;  // the red, green and blue of an 0xRRGGBBAA pixel

// The golden pixel at a quarter of its brightness, so the red marks stand out.
uint32_t Dimmed(uint32_t pixel) {
    const uint32_t r = (pixel >> 24) / 4, g = ((pixel >> 16) & 0xFF) / 4, b = ((pixel >> 8) & 0xFF) / 4;
    return (r << 24) | (g << 16) | (b << 8) | 0xFF;
}

}  // namespace

Picture ReadFrame(SDL_Renderer* renderer) {
    Picture picture;
    if (SDL_GetRendererOutputSize(renderer, &picture.width, &picture.height) != 0) return picture;
    // Reading covers the viewport: open it to the whole output for the read
    // and put the virtual size, scale and viewport back afterwards.
    int logicalW = 0, logicalH = 0;
    float scaleX = 1, scaleY = 1;
    SDL_Rect viewport;
    SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    SDL_RenderGetViewport(renderer, &viewport);
    SDL_RenderSetLogicalSize(renderer, 0, 0);
    SDL_RenderSetScale(renderer, 1, 1);
    SDL_RenderSetViewport(renderer, nullptr);
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, picture.pixels.data(), picture.width * 4) != 0) {
        picture = Picture{};
    }
    if (logicalW > 0 && logicalH > 0) {
        SDL_RenderSetLogicalSize(renderer, logicalW, logicalH);
    } else {
        SDL_RenderSetScale(renderer, scaleX, scaleY);
        SDL_RenderSetViewport(renderer, &viewport);
    }
    return picture;
}

bool SavePng(const Picture& picture, const std::string& file, std::string& error) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels.data()), picture.width,
                                                              picture.height, 32, picture.width * 4, SDL_PIXELFORMAT_RGBA8888);
    if (!surface) {
        error = SDL_GetError();
        return false;
    }
    const bool saved = platform::ImgSavePng(surface, file.c_str()) == 0;
    if (!saved) error = "cannot write " + file + ": " + SDL_GetError();
    SDL_FreeSurface(surface);
    return saved;
}

bool LoadPng(const std::string& file, Picture& picture, std::string& error) {
    SDL_Surface* loaded = platform::ImgLoad(file.c_str());
    SDL_Surface* rgba = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA8888, 0) : nullptr;
    if (loaded) SDL_FreeSurface(loaded);
    if (!rgba) {
        error = "cannot read " + file + ": " + SDL_GetError();
        return false;
    }
    picture.width = rgba->w;
    picture.height = rgba->h;
    picture.pixels.resize(static_cast<std::size_t>(rgba->w) * rgba->h);
    for (int y = 0; y < rgba->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const char*>(rgba->pixels) + y * rgba->pitch);
        std::copy(row, row + rgba->w, picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * rgba->w);
    }
    SDL_FreeSurface(rgba);
    return true;
}

Comparison Compare(const Picture& actual, const Picture& golden) {
    Comparison result;
    result.diff = golden;
    if (actual.width != golden.width || actual.height != golden.height) {
        // Nothing lines up: every pixel of the golden picture counts, all red.
        result.differing = std::max<int64_t>(1, int64_t(golden.width) * golden.height);
        result.firstX = result.firstY = 0;
        std::fill(result.diff.pixels.begin(), result.diff.pixels.end(), 0xFF0000FFu);
        return result;
    }
    for (std::size_t i = 0; i < golden.pixels.size(); ++i) {
        if ((actual.pixels[i] & kColour) == (golden.pixels[i] & kColour)) {
            result.diff.pixels[i] = Dimmed(golden.pixels[i]);
            continue;
        }
        if (result.differing++ == 0) {
            result.firstX = static_cast<int>(i % static_cast<std::size_t>(golden.width));
            result.firstY = static_cast<int>(i / static_cast<std::size_t>(golden.width));
        }
        result.diff.pixels[i] = 0xFF0000FFu;
    }
    return result;
}

std::string FrameFileName(uint32_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06u.png", frame);
    return name;
}

}  // namespace vorlune::script
