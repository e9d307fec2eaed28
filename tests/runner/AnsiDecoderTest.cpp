#include "runner/AnsiDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using runner::AnsiDecoder;

struct DecoderCase {
    const char* name;
    UINT codePage;
    std::vector<std::pair<std::string, std::wstring>> reads;  // bytes read, and the text they decode to
    bool heldBackAtTheEnd;  // the last read ends inside a character: the first flush gives it out
};

TEST(AnsiDecoder, DecodesReadsWholeCharactersAtATime) {
    const DecoderCase cases[] = {
        {"single-byte text comes out as it is", 1252, {{"caf\xE9 100%\r\n", L"caf\u00E9 100%\r\n"}}, false},
        {"a double-byte character split between reads", 932, {{"a\x82", L"a"}, {"\xA0z", L"\u3042z"}}, false},
        {"a UTF-8 sequence split between reads", CP_UTF8, {{"x\xE6\x97", L"x"}, {"\xA5y", L"\u65E5y"}}, false},
        {"what is held back at the end is flushed", 932, {{"\x82", L""}}, true},
    };
    for (const DecoderCase& c : cases) {
        SCOPED_TRACE(c.name);
        AnsiDecoder decoder(c.codePage);
        for (const auto& [bytes, text] : c.reads) EXPECT_EQ(decoder.Decode(bytes), text);
        EXPECT_EQ(!decoder.Flush().empty(), c.heldBackAtTheEnd);
        EXPECT_EQ(decoder.Flush(), L"");
    }
}

}  // namespace
