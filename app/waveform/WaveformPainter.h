#pragma once
// Draws the waveform window: the time ruler, the envelope of the peaks (or the
// samples themselves, close up), the selection, the marks, the playhead and a
// status line, all in one pass over the area that needs it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/SplitPoints.h"

#include "app/waveform/WaveformView.h"
#include "base/Handles.h"
#include "media/Media.h"

namespace app {

// What there is to draw, in samples of the file.
struct WaveformScene {
    const WaveformView& view;
    const media::Waveform* peaks = nullptr;  // null with no file
    // Decoded samples from samplesFirst on, interleaved by channel, for views
    // closer than one stored peak to a pixel.
    std::span<const std::int16_t> samples{};
    std::uint64_t samplesFirst = 0;
    std::optional<double> start{};   // the start mark
    std::optional<double> end{};     // the end mark
    std::optional<double> cutEnd{};  // where the saved cut ends (the start plus the length)
    double playhead = 0;
    // The selection's fades and level, drawn as the cut will sound; null with none.
    const media::GainPlan* gains = nullptr;
    std::wstring levels{};  // what the status line says of them
    std::wstring loudness{};  // of the selection as it will be saved, or of the file; empty while unknown
    std::vector<std::uint64_t> splits{};  // the split points, rising
    std::vector<Pause> leftOut{};          // pauses the saved pieces leave out
};

// One item of the status line: "Playhead", "Start", "End", "Length" (with no
// value while unset), then "Piece" once the file is split, the "Level"
// settings once there are any and the "Loudness" once measured (whose texts name
// themselves on the line).
struct StatusItem {
    const wchar_t* name;
    std::wstring value;
    bool shownNamed = true;
};
std::vector<StatusItem> StatusItems(const WaveformScene& scene);

// The three strips of the client area.
struct WaveformLayout {
    RECT ruler;
    RECT plot;  // the whole width; the view's margins lie inside it
    RECT status;

    explicit WaveformLayout(const RECT& client);
};

class WaveformPainter {
public:
    static constexpr COLORREF kInk = RGB(32, 86, 170);
    static constexpr COLORREF kRms = RGB(110, 160, 230);  // the level's RMS, inside the peaks
    static constexpr COLORREF kStartMark = RGB(0, 140, 60);
    static constexpr COLORREF kEndMark = RGB(200, 30, 30);
    static constexpr COLORREF kPlayhead = RGB(0, 0, 0);
    static constexpr COLORREF kSelection = RGB(206, 226, 250);
    static constexpr COLORREF kPlotBack = RGB(255, 255, 255);
    static constexpr COLORREF kFade = RGB(140, 60, 190);
    static constexpr COLORREF kFadeShade = RGB(234, 222, 244);
    static constexpr COLORREF kSplit = RGB(230, 120, 0);
    static constexpr COLORREF kLeftOut = RGB(225, 225, 225);
    // On the decibel scale, this level and below lie on the centre line.
    static constexpr double kFloorDb = -60.0;

    // Below this many samples to a pixel the view draws decoded samples, not stored peaks.
    static constexpr double kPeaksFrom = media::Waveform::kBlockSamples;
    // At or below this many samples to a pixel each sample is a point, joined by lines.
    static constexpr double kPointsFrom = 1.0;

    WaveformPainter();

    // Draws the part `dirty` of the client area.
    void Paint(HDC dc, const RECT& client, const RECT& dirty, const WaveformScene& scene) const;

    // The y of a sample value in a channel's lane, on the linear or the decibel scale.
    int YOf(const RECT& lane, int value) const noexcept;
    // A channel's lane of the plot: a stereo file's left channel above its right.
    static RECT Lane(const RECT& plot, int channel, int channels) noexcept;

    bool Decibels() const noexcept { return decibels_; }
    void SetDecibels(bool decibels) noexcept { decibels_ = decibels; }

private:
    void PaintRuler(HDC dc, const RECT& ruler, const WaveformScene& scene) const;
    void PaintEnvelope(HDC dc, const RECT& lane, int channel, long fromX, long toX, const WaveformScene& scene) const;
    void PaintPoints(HDC dc, const RECT& lane, int channel, const WaveformScene& scene) const;
    void PaintFades(HDC dc, const RECT& plot, bool shade, const WaveformScene& scene) const;
    void PaintStatus(HDC dc, const RECT& status, const WaveformScene& scene) const;
    void PaintPieceNumbers(HDC dc, const RECT& ruler, const WaveformScene& scene) const;

    base::FontHandle font_;
    base::BrushHandle hatch_;
    bool decibels_ = false;
};

}  // namespace app
