#include "media/QuietSpot.h"

#include <algorithm>
#include <vector>

#include "media/Mp3Stream.h"

namespace media {

std::optional<std::size_t> QuietestMiddle(std::span<const std::int16_t> samples, int channels, std::size_t stretch,
                                          std::size_t firstMiddle, std::size_t lastMiddle, std::size_t preferred) {
    const std::size_t perSample = static_cast<std::size_t>(channels);
    const std::size_t count = samples.size() / perSample;
    const std::size_t half = stretch / 2;
    if (stretch == 0 || count < stretch) return std::nullopt;
    firstMiddle = std::max(firstMiddle, half);
    lastMiddle = std::min(lastMiddle, count - stretch + half);
    if (firstMiddle > lastMiddle) return std::nullopt;

    // energy[i] is the energy of the samples before i, so a run's is one subtraction.
    std::vector<std::uint64_t> energy(count + 1, 0);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t e = 0;
        for (std::size_t c = 0; c < perSample; ++c) {
            const std::int64_t s = samples[i * perSample + c];
            e += static_cast<std::uint64_t>(s * s);
        }
        energy[i + 1] = energy[i] + e;
    }
    auto distance = [preferred](std::size_t middle) { return middle > preferred ? middle - preferred : preferred - middle; };
    std::size_t best = firstMiddle;
    std::uint64_t bestEnergy = UINT64_MAX;
    for (std::size_t middle = firstMiddle; middle <= lastMiddle; ++middle) {
        const std::size_t start = middle - half;
        const std::uint64_t e = energy[start + stretch] - energy[start];
        if (e < bestEnergy || (e == bestEnergy && distance(middle) < distance(best))) {
            best = middle;
            bestEnergy = e;
        }
    }
    return best;
}

std::uint64_t QuietestPoint(const std::wstring& path, std::shared_ptr<const Mp3Index> index, std::uint64_t first,
                            std::uint64_t last, std::uint64_t preferred, std::size_t stretch) {
    try {
        Mp3Stream stream(path, std::move(index));
        return QuietestPoint(stream, first, last, preferred, stretch);
    } catch (...) {
        return preferred;
    }
}

std::uint64_t QuietestPoint(Mp3Stream& stream, std::uint64_t first, std::uint64_t last, std::uint64_t preferred,
                            std::size_t stretch) {
    try {
        const std::uint64_t half = stretch / 2;
        const std::uint64_t from = first > half ? first - half : 0;
        const std::uint64_t to = std::min(stream.Length(), last + stretch - half);
        if (from >= to) return preferred;
        const std::size_t count = static_cast<std::size_t>(to - from);
        std::vector<std::int16_t> samples(count * static_cast<std::size_t>(stream.Channels()));
        stream.Seek(from);
        samples.resize(stream.Read(samples.data(), count) * static_cast<std::size_t>(stream.Channels()));
        auto middle = QuietestMiddle(samples, stream.Channels(), stretch, static_cast<std::size_t>(first - from),
                                     static_cast<std::size_t>(last - from),
                                     static_cast<std::size_t>(std::clamp(preferred, from, to) - from));
        return middle ? from + *middle : preferred;
    } catch (...) {
        return preferred;
    }
}

}  // namespace media
