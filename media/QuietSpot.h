#pragma once
// Finding a pause: the stretch of audio with the least energy near a preferred
// place, so that a cut can begin or end where it is heard least.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "media/Mp3Index.h"

namespace media {

// Of the runs of `stretch` samples that lie wholly in `samples` (interleaved by
// channel) and whose middles lie in [firstMiddle, lastMiddle], the middle of the
// one with the least energy; of equally quiet ones, the middle nearest to `preferred`.
// None when no run fits.
std::optional<std::size_t> QuietestMiddle(std::span<const std::int16_t> samples, int channels, std::size_t stretch,
                                          std::size_t firstMiddle, std::size_t lastMiddle, std::size_t preferred);

class Mp3Stream;

// The stretch the quiet-spot search measures by default (5 ms).
inline constexpr double kQuietStretchSeconds = 0.005;

// The same over the file as `index` describes it, with sample numbers as the
// player counts them: decodes what lies around [first, last]. `preferred` where no
// run fits there or the file cannot be decoded.
std::uint64_t QuietestPoint(const std::wstring& path, std::shared_ptr<const Mp3Index> index, std::uint64_t first,
                            std::uint64_t last, std::uint64_t preferred, std::size_t stretch);
// The same through an open stream of the file, for many searches in turn.
std::uint64_t QuietestPoint(Mp3Stream& stream, std::uint64_t first, std::uint64_t last, std::uint64_t preferred,
                            std::size_t stretch);

}  // namespace media
