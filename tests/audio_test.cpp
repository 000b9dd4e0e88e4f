// Sounds and music: loading, playing, volumes, channels, the live-handle
// checks, the fatal paths, and real mixer output through SDL's disk driver.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "audio/audio.hpp"
#include "core/handles.hpp"
#include "support/engine_fixture.hpp"

namespace vorlune::test {
namespace {

constexpr int kRate = 22050;  // the mixer's output rate, so no resampling

// A 16-bit stereo PCM WAV file holding a sine tone of the given length.
std::string ToneWav(double seconds, int amplitude, double hz = 441.0) {
    auto frames = static_cast<uint32_t>(seconds * kRate);
    std::string data;
    auto put16 = [&data](int v) {
        auto u = static_cast<uint16_t>(v);
        data += static_cast<char>(u & 0xff);
        data += static_cast<char>(u >> 8);
    };
    for (uint32_t i = 0; i < frames; ++i) {
        int v = static_cast<int>(std::lround(amplitude * std::sin(2 * M_PI * hz * i / kRate)));
        put16(v);
        put16(v);
    }
    auto le32 = [](uint32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xff);
        return s;
    };
    std::string fmt = le32(16) + std::string("\x01\x00\x02\x00", 4) + le32(kRate) + le32(kRate * 4) +
                      std::string("\x04\x00\x10\x00", 4);
    auto size = static_cast<uint32_t>(data.size());
    return "RIFF" + le32(36 + size) + "WAVE" + "fmt " + fmt + "data" + le32(size) + data;
}

class AudioTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        dir_.Write("long.wav", ToneWav(3.0, 8000));
        dir_.Write("other.wav", ToneWav(3.0, 4000, 882.0));
        dir_.Write("notes.txt", "these are not samples\n");
        dir_.Write("empty.wav", "");
        dir_.Write("folder.wav/keep", "");
        LuaOk("dir = [[" + dir_.path().string() + "/]]");
    }
    void TearDown() override {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        EngineTest::TearDown();
    }
    // The handle a script holds in a global variable.
    void* Global(const char* name) {
        lua_getglobal(L, name);
        void* p = lua_touserdata(L, -1);
        lua_pop(L, 1);
        return p;
    }
    Mix_Chunk* Chunk(const char* name) { return audio::Sound::Resolve(Global(name)).chunk; }
    int ChannelsPlaying(const Mix_Chunk* chunk) {
        int n = 0;
        for (int i = 0; i < 8; ++i) n += (Mix_Playing(i) && Mix_GetChunk(i) == chunk) ? 1 : 0;
        return n;
    }
    TempDir dir_;
};

TEST_F(AudioTest, LoadsHandOutLiveHandlesAndFreeingTwiceIsHarmless) {
    LuaOk("s = loadsound(dir .. 'long.wav')  m = loadmusic(dir .. 'long.wav')");
    ASSERT_NE(Global("s"), nullptr);
    ASSERT_NE(Global("m"), nullptr);
    EXPECT_TRUE(core::IsLive(Global("s"), core::HandleKind::Sound));
    EXPECT_TRUE(core::IsLive(Global("m"), core::HandleKind::Music));
    EXPECT_EQ(Chunk("s")->alen, 3u * kRate * 4);

    // Each free function ignores the other kind's handle.
    LuaOk("freesound(m)  freemusic(s)");
    EXPECT_TRUE(core::IsLive(Global("s"), core::HandleKind::Sound));
    EXPECT_TRUE(core::IsLive(Global("m"), core::HandleKind::Music));

    LuaOk("freesound(s) freesound(s) freemusic(m) freemusic(m) freesound(nil) freemusic(nil)");
    EXPECT_FALSE(core::IsLive(Global("s"), core::HandleKind::Sound));
    EXPECT_FALSE(core::IsLive(Global("m"), core::HandleKind::Music));
}

// A freed sound or music handle stays dead when the next load reuses the
// freed object's address: freeing it again leaves the new object alone.
TEST_F(AudioTest, FreedHandlesStayDeadWhenTheirAddressIsReused) {
    LuaOk("for i = 1, 200 do\n"
          "  local a = loadsound(dir .. 'long.wav') freesound(a)\n"
          "  local b = loadsound(dir .. 'long.wav') freesound(a)\n"
          "  assert(a ~= b) playsound(b, 10, 0, 0) freesound(b)\n"
          "  local m = loadmusic(dir .. 'long.wav') freemusic(m)\n"
          "  local n = loadmusic(dir .. 'long.wav') freemusic(m)\n"
          "  assert(m ~= n) last = n\n"
          "end");
    EXPECT_TRUE(core::IsLive(Global("last"), core::HandleKind::Music));
}

TEST_F(AudioTest, UndecodableFilesLoadAsTheNullHandleAndPlayNothing) {
    for (const char* name : {"notes.txt", "empty.wav", "folder.wav"}) {
        SCOPED_TRACE(name);
        LuaOk(std::string("s = loadsound(dir .. '") + name + "')  m = loadmusic(dir .. '" + name + "')");
        EXPECT_EQ(Eval("type(s)"), "userdata");
        EXPECT_EQ(Global("s"), nullptr);
        EXPECT_EQ(Global("m"), nullptr);
        LuaOk("playsound(s, 128, -1, 0)  playsound(s, 128, 3, -1)  playmusic(m, 128, -1)  freesound(s)  freemusic(m)");
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_EQ(Mix_PlayingMusic(), 0);
    }
}

TEST_F(AudioTest, ChunkVolumeIsClampedAndNegativeKeepsThePreviousOne) {
    LuaOk("s = loadsound(dir .. 'long.wav')  playsound(s, 200, -1, 0)");
    EXPECT_EQ(Mix_VolumeChunk(Chunk("s"), -1), 128);
    EXPECT_EQ(ChannelsPlaying(Chunk("s")), 1);
    LuaOk("playsound(s, 64, -1, 0)");
    EXPECT_EQ(Mix_VolumeChunk(Chunk("s"), -1), 64);
    LuaOk("playsound(s, -1, -1, 0)");
    EXPECT_EQ(Mix_VolumeChunk(Chunk("s"), -1), 64);
    EXPECT_EQ(ChannelsPlaying(Chunk("s")), 3);
}

TEST_F(AudioTest, InvalidChannelNumbersSetTheVolumeButPlayNothing) {
    LuaOk("s = loadsound(dir .. 'long.wav')");
    int playing = 0;
    for (int channel : {8, 100000, INT_MAX, -2, -5, INT_MIN}) {
        SCOPED_TRACE(channel);
        LuaOk("playsound(s, 17, " + std::to_string(channel) + ", 0)");
        EXPECT_EQ(Mix_Playing(-1), playing);
        EXPECT_EQ(Mix_VolumeChunk(Chunk("s"), -1), 17);
        LuaOk("playsound(s, 128, -1, 0)");  // the sound itself still plays
        EXPECT_EQ(Mix_Playing(-1), ++playing);
    }
}

TEST_F(AudioTest, NinthSoundOnEightBusyChannelsIsDroppedSilently) {
    LuaOk("a = loadsound(dir .. 'long.wav')  b = loadsound(dir .. 'other.wav')\n"
          "for i = 1, 8 do playsound(a, 128, -1, 0) end\n"
          "playsound(b, 128, -1, 0)");
    EXPECT_EQ(Mix_Playing(-1), 8);
    EXPECT_EQ(ChannelsPlaying(Chunk("a")), 8);
    EXPECT_EQ(ChannelsPlaying(Chunk("b")), 0);
    // A channel given by number is taken over.
    LuaOk("playsound(b, 64, 5, 0)");
    EXPECT_EQ(Mix_GetChunk(5), Chunk("b"));
    EXPECT_EQ(ChannelsPlaying(Chunk("a")), 7);
}

TEST_F(AudioTest, RepeatingSoundOnAChannelIsReplacedByTheNextOnThatChannel) {
    LuaOk("a = loadsound(dir .. 'long.wav')  b = loadsound(dir .. 'other.wav')  playsound(a, 64, 2, -1)");
    EXPECT_EQ(Mix_GetChunk(2), Chunk("a"));
    EXPECT_TRUE(Mix_Playing(2));
    LuaOk("playsound(b, 64, 2, 0)");
    EXPECT_EQ(Mix_GetChunk(2), Chunk("b"));
    EXPECT_EQ(Mix_Playing(-1), 1);
    // Freeing a sound stops the channels that play it.
    LuaOk("playsound(b, 64, -1, 0)  playsound(b, 64, 6, 0)");
    EXPECT_EQ(ChannelsPlaying(Chunk("b")), 3);
    LuaOk("freesound(b)");
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(AudioTest, MusicPlaysPausesResumesHaltsAndFades) {
    LuaOk("m = loadmusic(dir .. 'long.wav')  pausemusic() resumemusic() haltmusic() fademusic(10)");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    LuaOk("playmusic(m, 64, -1)");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_VolumeMusic(-1), 64);
    LuaOk("pausemusic()");
    EXPECT_EQ(Mix_PausedMusic(), 1);
    LuaOk("resumemusic()");
    EXPECT_EQ(Mix_PausedMusic(), 0);
    LuaOk("haltmusic()");
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    LuaOk("playmusic(m, 300, 1)");
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    LuaOk("playmusic(m, -1, -1)");
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    LuaOk("fademusic(150)");
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
    for (int waited = 0; Mix_PlayingMusic() && waited < 3000; waited += 10) SDL_Delay(10);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// The mixer blocks playmusic and freemusic of the playing music until a
// fade-out ends: a short fade is waited out, a long or paused one is cut.
TEST_F(AudioTest, LongOrPausedFadesDoNotBlockPlayOrFree) {
    struct Case {
        const char* fade;  // script run with m playing
        const char* then;  // the call that would wait
        uint32_t atLeast, below;  // ms the call takes
    };
    const Case cases[] = {
        {"fademusic(300)", "playmusic(n, 64, -1)", 150, 1500},
        {"fademusic(3600000)", "playmusic(n, 64, -1)", 0, 1000},
        {"fademusic(3600000)", "freemusic(m)", 0, 1000},
        {"fademusic(1000) pausemusic()", "playmusic(n, 64, -1)", 0, 1000},
        {"pausemusic() fademusic(1000)", "freemusic(m)", 0, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fade) + "; " + c.then);
        LuaOk("m = loadmusic(dir .. 'long.wav')  n = loadmusic(dir .. 'other.wav')  playmusic(m, 64, -1) " +
              std::string(c.fade));
        const uint32_t start = SDL_GetTicks();
        LuaOk(c.then);
        const uint32_t took = SDL_GetTicks() - start;
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, c.below);
        LuaOk("haltmusic() freemusic(m) freemusic(n)");
    }
}

TEST_F(AudioTest, DeadMusicHandlesSetTheVolumeButPlayNothing) {
    LuaOk("m = loadmusic(dir .. 'long.wav')  s = loadsound(dir .. 'long.wav')  freemusic(m)\n"
          "playmusic(m, 50, -1)");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 50);
    LuaOk("playmusic(s, 60, -1)  playmusic(nil, 70, -1)");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 70);
    // Freeing the music that plays stops it.
    LuaOk("n = loadmusic(dir .. 'long.wav')  playmusic(n, 64, -1)");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    LuaOk("freemusic(n)");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// Script runs ----------------------------------------------------------------

TEST(AudioScript, MissingFilesEndTheRunWithTheFileNotFoundBox) {
    struct Case {
        const char* call;
        const char* err;
    } cases[] = {
        {"loadsound('nope.wav')", "File not found: Can't find sound file: nope.wav\n"},
        {"loadsound('')", "File not found: Can't find sound file: \n"},
        {"loadmusic('sub/none.ogg')", "File not found: Can't find music file: sub/none.ogg\n"},
        {"loadmusic('there.wav/')", "File not found: Can't find music file: there.wav/\n"},
    };
    TempDir dir;
    dir.Write("there.wav", ToneWav(0.1, 1000));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        RunResult r = RunScript(dir, std::string("print('before')\n") + c.call + "\nprint('after')\n");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "before\n");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(AudioScript, PlayingAFreedOrForeignSoundEndsTheRunWithTheErrorBox) {
    const char* cases[] = {
        "s = loadsound('a.wav')  freesound(s)  playsound(s, 128, -1, 0)",
        "m = loadmusic('a.wav')  playsound(m, 128, -1, 0)",
        "s = loadsound('a.wav')  closeapplication()  playsound(s, 128, -1, 0)",
    };
    TempDir dir;
    dir.Write("a.wav", ToneWav(0.1, 1000));
    for (const char* script : cases) {
        SCOPED_TRACE(script);
        RunResult r = RunScript(dir, std::string(script) + "\nprint('after')\n");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Error: Error playing sound file.\n");
    }
    // The null handle of a failed load is no error.
    dir.Write("text.wav", "not audio");
    RunResult r = RunScript(dir, "s = loadsound('text.wav')  playsound(s, 128, -1, 0)  print('after')\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "after\n");
    EXPECT_EQ(r.err, "");
}

// Peak amplitude of each 1024-frame buffer the disk driver wrote (16-bit stereo).
std::vector<int> BufferPeaks(const std::string& raw) {
    std::vector<int> peaks;
    const std::size_t bufferBytes = 1024 * 4;
    for (std::size_t at = 0; at + bufferBytes <= raw.size(); at += bufferBytes) {
        int peak = 0;
        for (std::size_t i = at; i < at + bufferBytes; i += 2) {
            auto v = static_cast<int16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        }
        peaks.push_back(peak);
    }
    return peaks;
}

// Runs of consecutive non-silent buffers as [first, last] index pairs.
std::vector<std::pair<int, int>> SoundingRuns(const std::vector<int>& peaks) {
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < static_cast<int>(peaks.size()); ++i) {
        if (peaks[i] == 0) continue;
        if (!runs.empty() && runs.back().second == i - 1) runs.back().second = i;
        else runs.push_back({i, i});
    }
    return runs;
}

// The script waits by the clock, then closes the mixer, which ends the
// output file. Buffers are 1024 frames, about 46 ms.
RunResult RunOnDiskDriver(const TempDir& dir, const std::string& body) {
    RunOptions options;
    options.env = {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", (dir / "out.raw").string()}};
    return RunScript(dir,
                     "local function wait(s) local t = os.clock() while os.clock() - t < s do end end\n" + body +
                         "\ncloseapplication()\n",
                     options);
}

TEST(AudioScript, DiskDriverHearsTheSoundAndTheMusicUntilHaltmusic) {
    TempDir dir;
    dir.Write("beep.wav", ToneWav(0.25, 8000));
    dir.Write("loop.wav", ToneWav(0.3, 8000));
    RunResult r = RunOnDiskDriver(dir,
                                  "local s = loadsound('beep.wav')  local m = loadmusic('loop.wav')\n"
                                  "wait(0.2)  playsound(s, 200, -1, 0)  wait(0.5)\n"
                                  "playmusic(m, 64, -1)  wait(0.8)  haltmusic()  wait(0.5)");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<int> peaks = BufferPeaks(dir.Read("out.raw"));
    auto runs = SoundingRuns(peaks);
    ASSERT_EQ(runs.size(), 2u) << "buffers: " << peaks.size();
    auto [s0, s1] = runs[0];
    auto [m0, m1] = runs[1];
    // The sound plays once (0.25 s is 5.4 buffers) at full volume.
    EXPECT_GE(s1 - s0 + 1, 5);
    EXPECT_LE(s1 - s0 + 1, 7);
    EXPECT_NEAR(*std::max_element(peaks.begin() + s0, peaks.begin() + s1 + 1), 8000, 40);
    // The music loops past its 0.3 s at half volume until halted; then silence.
    EXPECT_GE(m1 - m0 + 1, 12);
    EXPECT_NEAR(*std::max_element(peaks.begin() + m0, peaks.begin() + m1 + 1), 4000, 20);
    EXPECT_GE(static_cast<int>(peaks.size()) - 1 - m1, 4) << "no silence after haltmusic";
}

TEST(AudioScript, DiskDriverHearsFademusicLowerTheMusicThenStopIt) {
    TempDir dir;
    dir.Write("loop.wav", ToneWav(0.3, 8000));
    RunResult r = RunOnDiskDriver(dir,
                                  "local m = loadmusic('loop.wav')\n"
                                  "playmusic(m, 128, -1)  wait(0.4)  fademusic(500)  wait(1.1)");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<int> peaks = BufferPeaks(dir.Read("out.raw"));
    auto runs = SoundingRuns(peaks);
    ASSERT_EQ(runs.size(), 1u);
    auto [m0, m1] = runs[0];
    EXPECT_NEAR(peaks[m0 + 1], 8000, 40);
    // 500 ms of fading is about 10 buffers of falling level, each below the last.
    int fading = 0;
    for (int i = m0 + 1; i <= m1; ++i) {
        if (peaks[i] > 400 && peaks[i] < 7600) {
            ++fading;
            EXPECT_LE(peaks[i], peaks[i - 1]) << "buffer " << i;
        }
    }
    EXPECT_GE(fading, 7);
    EXPECT_GE(static_cast<int>(peaks.size()) - 1 - m1, 5) << "no silence after the fade";
}

}  // namespace
}  // namespace vorlune::test
