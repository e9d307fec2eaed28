#pragma once
// How the output window turns the encoder's output into text.
#include <string>
#include <string_view>

namespace app {

// A chunk as the output box shows it: carriage returns dropped, then every
// line feed made a carriage return and line feed pair.
std::wstring ChunkText(std::wstring_view chunk);

// The last `count` lines that are not blank, joined with line ends. Carriage
// returns end lines too, so of a progress line rewritten in place only its
// last state counts.
std::wstring LastLines(std::wstring_view text, std::size_t count);

}  // namespace app
