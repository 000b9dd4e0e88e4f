// Floors for the start-up scene.
//   startup media        the interpreter's media start-up, then exit without SDL_Quit
//                        (a script that returns never calls it)
//   startup media-quit   the same followed by SDL_Quit, as a shut-down run pays it
//   startup frame        media start-up, a 640x480 window, one cleared frame with a
//                        filled rectangle presented, exit without SDL_Quit
#include "common.hpp"

using namespace floorbench;

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "media";
    StartMedia();
    if (mode == "media-quit") {
        Mix_CloseAudio();
        SDL_Quit();
    } else if (mode == "frame") {
        activeWindow = OpenWindow("start-up", 640, 480);
        Cls();
        Color(255, 200, 0, 255);
        SDL_Rect rect{100, 100, 200, 150};
        SDL_RenderFillRect(ActiveRenderer(), &rect);
        Redraw();
    }
    return 0;
}
