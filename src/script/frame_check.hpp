// Frames as pictures for the test runner: read back from the renderer,
// written and read as PNG, compared with a golden picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Renderer;

namespace vorlune::script {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBBAA, row by row
};

struct Comparison {
    int64_t differing = 0;   // pixels whose colour differs (all of them when the sizes differ)
    int firstX = -1;         // the first differing pixel, row by row
    int firstY = -1;
    Picture diff;            // the golden picture dimmed, differing pixels red
};

Picture ReadFrame(SDL_Renderer* renderer);   // the whole output, whatever virtual size or scale is set
bool SavePng(const Picture& picture, const std::string& file, std::string& error);
bool LoadPng(const std::string& file, Picture& picture, std::string& error);
Comparison Compare(const Picture& actual, const Picture& golden);  // colours compared, alpha ignored

std::string FrameFileName(uint32_t frame);   // "frame-000060.png"

}  // namespace vorlune::script
