#include "runner/AnsiDecoder.h"

#include <gtest/gtest.h>

namespace {

using runner::AnsiDecoder;

TEST(AnsiDecoder, SingleByteTextComesOutAsItIs) {
    AnsiDecoder decoder(1252);
    EXPECT_EQ(decoder.Decode("caf\xE9 100%\r\n"), L"caf\u00E9 100%\r\n");
    EXPECT_EQ(decoder.Flush(), L"");
}

TEST(AnsiDecoder, ADoubleByteCharacterSplitBetweenReadsIsDecodedWhole) {
    AnsiDecoder decoder(932);
    EXPECT_EQ(decoder.Decode("a\x82"), L"a");
    EXPECT_EQ(decoder.Decode("\xA0z"), L"\u3042z");
}

TEST(AnsiDecoder, AUtf8SequenceSplitBetweenReadsIsDecodedWhole) {
    AnsiDecoder decoder(CP_UTF8);
    EXPECT_EQ(decoder.Decode("x\xE6\x97"), L"x");
    EXPECT_EQ(decoder.Decode("\xA5y"), L"\u65E5y");
}

TEST(AnsiDecoder, WhatIsHeldBackAtTheEndIsFlushed) {
    AnsiDecoder decoder(932);
    EXPECT_EQ(decoder.Decode("\x82"), L"");
    EXPECT_FALSE(decoder.Flush().empty());
    EXPECT_EQ(decoder.Flush(), L"");
}

}  // namespace
