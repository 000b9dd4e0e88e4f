// Test entry point: headless drivers for every test, and death tests that
// re-execute the binary (SDL starts threads).
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
