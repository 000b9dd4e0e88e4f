// Leaving out the sections a running program never reads.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/script_runner.hpp"
#include "util/elf_strip.hpp"

namespace vorlune::test {
namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ElfStrip, RefusesWhatIsNotACompleteElfFile) {
    std::string interpreter = ReadWhole(VorluneExe());
    ASSERT_GT(interpreter.size(), 4096u);
    std::string otherOrder = interpreter;
    otherOrder[5] = otherOrder[5] == 1 ? 2 : 1;  // EI_DATA: the other byte order
    for (const std::string& image : {std::string(), std::string("#!/bin/sh\necho not a program\n"),
                                     interpreter.substr(0, 64), interpreter.substr(0, interpreter.size() - 100),
                                     otherOrder}) {
        EXPECT_FALSE(util::StripUnloadedSections(image)) << image.size() << " bytes";
    }
}

// What is left is a complete file (its own headers read back) that stripping
// again leaves unchanged.
TEST(ElfStrip, ResultIsSmallerAndStableWhenRepeated) {
    std::string interpreter = ReadWhole(VorluneExe());
    auto once = util::StripUnloadedSections(interpreter);
    ASSERT_TRUE(once);
    EXPECT_LT(once->size(), interpreter.size());
    auto twice = util::StripUnloadedSections(*once);
    ASSERT_TRUE(twice);
    EXPECT_EQ(*twice, *once);
}

}  // namespace
}  // namespace vorlune::test
