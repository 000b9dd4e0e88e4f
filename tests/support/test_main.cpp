// Test entry point: headless drivers for every test, and death tests that
// re-execute the binary (SDL starts threads).
#include <cstdlib>

#include <gtest/gtest.h>

// Sanitizer builds: SDL and the mixer keep allocations until process exit, and
// many paths end the process on purpose; report memory errors, not leaks.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    // VORLUNE_TEST_GL keeps the display, for the golden frames on SDL's
    // OpenGL renderer under an X server.
    if (!std::getenv("VORLUNE_TEST_GL")) {
        unsetenv("DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 0);  // for the interpreters the tests start
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
