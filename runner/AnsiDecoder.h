#pragma once
// Turns a child's output bytes into text with the system's ANSI code page. A
// character whose bytes are split between two reads is held back and decoded
// with the next read, so it never comes out as two broken halves.
#include <windows.h>

#include <string>
#include <string_view>

namespace runner {

class AnsiDecoder {
public:
    explicit AnsiDecoder(UINT codePage = ::GetACP());

    // The text of the bytes, less a trailing incomplete character kept for the next call.
    std::wstring Decode(std::string_view bytes);
    // Whatever is still held back, decoded as it is.
    std::wstring Flush();

private:
    std::size_t CompleteLength(std::string_view bytes) const;

    UINT codePage_;
    bool multiByte_;
    std::string pending_;
};

// Bytes as text in the given code page, with nothing held back.
std::wstring DecodeBytes(std::string_view bytes, UINT codePage);

}  // namespace runner
