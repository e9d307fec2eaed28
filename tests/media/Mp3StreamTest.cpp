#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "MediaFixtures.h"
#include "media/Mp3Stream.h"

using media::Mp3Stream;
using media_test::Fixture;
using media_test::kStreams;
using media_test::ReadBytes;

namespace {

std::vector<std::int16_t> DecodeAll(Mp3Stream& stream) {
    std::vector<std::int16_t> pcm;
    std::vector<std::int16_t> block(4000 * stream.Channels());
    while (std::size_t n = stream.Read(block.data(), 4000))
        pcm.insert(pcm.end(), block.begin(), block.begin() + n * stream.Channels());
    return pcm;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(Mp3Stream, DecodesEverySampleOfTheStream) {
    for (const wchar_t* name : kStreams) {
        SCOPED_TRACE(Narrow(name));
        Mp3Stream stream(Fixture(name));
        std::vector<std::int16_t> pcm = DecodeAll(stream);
        EXPECT_EQ(pcm.size(), stream.Length() * stream.Channels());
        EXPECT_EQ(stream.Position(), stream.Length());
        // Not silence: the signal's tones came through.
        double energy = 0;
        for (std::int16_t s : pcm) energy += double(s) * s;
        EXPECT_GT(std::sqrt(energy / pcm.size()), 1000.0);
    }
}

TEST(Mp3Stream, LeavesTheEncoderDelayOutLikeFfmpeg) {
    Mp3Stream stream(Fixture(L"cbr128_info.mp3"));
    EXPECT_EQ(stream.Length(), 3u * 44100u);
    std::vector<std::int16_t> ours = DecodeAll(stream);
    std::vector<std::uint8_t> bytes = ReadBytes(Fixture(L"cbr128_info.s16"));
    std::vector<std::int16_t> theirs(bytes.size() / 2);
    std::memcpy(theirs.data(), bytes.data(), theirs.size() * 2);
    ASSERT_EQ(ours.size(), theirs.size());

    // Two decoders differ in the last bits, but the best fit of the two signals is with no shift.
    auto difference = [&](int shift) {
        double sum = 0;
        for (std::size_t i = 4000; i + 4000 < ours.size(); ++i) {
            double d = double(ours[i]) - theirs[i + 2 * shift];
            sum += d * d;
        }
        return std::sqrt(sum / (ours.size() - 8000));
    };
    double aligned = difference(0);
    EXPECT_LT(aligned, 20.0);
    for (int shift : {-529, -1, 1, 529, 576}) EXPECT_GT(difference(shift), 10 * aligned) << shift;
}

TEST(Mp3Stream, ASeekLandsOnTheRequestedSample) {
    // Keeping the codec, each seek finds it holding what the read before left.
    const std::pair<const char*, void (Mp3Stream::*)(std::uint64_t)> seeks[] = {
        {"seek", &Mp3Stream::Seek}, {"seek keeping the codec", &Mp3Stream::SeekKeepingCodec}};
    for (const auto& [how, seek] : seeks)
    for (const wchar_t* name : kStreams) {
        SCOPED_TRACE(how);
        SCOPED_TRACE(Narrow(name));
        Mp3Stream straight(Fixture(name));
        std::vector<std::int16_t> all = DecodeAll(straight);
        std::size_t channels = straight.Channels();
        std::uint64_t length = straight.Length();
        std::uint64_t spf = straight.Index().format.SamplesPerFrame();

        Mp3Stream stream(Fixture(name));
        for (std::uint64_t sample : {length / 2, std::uint64_t{0}, std::uint64_t{1}, spf - 1, spf, 10 * spf + 17,
                                     std::uint64_t{12345}, length * 3 / 4 + 3, length - 700, length - 1}) {
            SCOPED_TRACE(sample);
            (stream.*seek)(sample);
            EXPECT_EQ(stream.Position(), sample);
            std::vector<std::int16_t> block(3000 * channels);
            std::size_t n = stream.Read(block.data(), 3000);
            ASSERT_EQ(n, std::min<std::uint64_t>(3000, length - sample));
            // The codec dithers its output, so a decode that starts elsewhere differs in
            // the last bits; one sample off, the tones and noise differ by hundreds.
            int largest = 0;
            for (std::size_t i = 0; i < n * channels; ++i)
                largest = std::max(largest, std::abs(block[i] - all[sample * channels + i]));
            EXPECT_LE(largest, 8);
        }
        stream.Seek(length + 5000);
        EXPECT_EQ(stream.Position(), length);
        std::int16_t sink[8];
        EXPECT_EQ(stream.Read(sink, 4), 0u);
    }
}

// A part of a joined file with another channel count plays in the count the file
// starts with: each part as it decodes alone, a mono one on both channels, a
// stereo one after a mono start mixed to one. (The parts' encoder delays are alike.)
TEST(Mp3Stream, PlaysAPartWithAnotherChannelCountInTheCountTheFileStartsWith) {
    Mp3Stream stereo(Fixture(L"part_stereo.mp3"));
    Mp3Stream mono(Fixture(L"part_mono.mp3"));
    const std::vector<std::int16_t> stereoPcm = DecodeAll(stereo), monoPcm = DecodeAll(mono);
    struct Case {
        const wchar_t* name;
        int channels;
        const std::vector<std::int16_t>& second;  // the second part alone
        int secondChannels;
    } cases[] = {{L"joined_channels.mp3", 2, monoPcm, 1}, {L"joined_mono_first.mp3", 1, stereoPcm, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        Mp3Stream joined(Fixture(c.name));
        ASSERT_EQ(joined.Channels(), c.channels);
        ASSERT_EQ(joined.Index().channelChanges.size(), 1u);
        const std::uint64_t join = joined.Index().channelChanges[0] * 1152;
        const std::vector<std::int16_t> all = DecodeAll(joined);
        ASSERT_EQ(all.size(), joined.Length() * c.channels);
        if (c.channels == 2) {  // the first part as it plays alone
            ASSERT_GE(all.size(), stereoPcm.size());
            EXPECT_TRUE(std::equal(stereoPcm.begin(), stereoPcm.end(), all.begin()));
        }
        const std::size_t count = c.second.size() / c.secondChannels;
        ASSERT_GE(joined.Length(), join + count);
        int largest = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int expected = c.secondChannels == 1 ? c.second[i] : (c.second[2 * i] + c.second[2 * i + 1]) / 2;
            for (int k = 0; k < c.channels; ++k)
                largest = std::max(largest, std::abs(all[(join + i) * c.channels + k] - expected));
        }
        EXPECT_EQ(largest, 0);

        // A seek into the second part lands where a straight decode goes (within the codec's dither).
        joined.Seek(join + 5000);
        std::vector<std::int16_t> block(1000 * c.channels);
        ASSERT_EQ(joined.Read(block.data(), 1000), 1000u);
        largest = 0;
        for (std::size_t i = 0; i < block.size(); ++i)
            largest = std::max(largest, std::abs(block[i] - all[(join + 5000) * c.channels + i]));
        EXPECT_LE(largest, 8);
    }
}

