#include "app/SplitPoints.h"

#include <algorithm>

namespace app {

void SplitPoints::Reset(std::uint64_t length) {
    length_ = length;
    points_.clear();
    pauses_.clear();
    names_.assign(1, PieceNames{});
    album_ = {};
    leavePausesOut_ = false;
    Changed.Raise();
}

std::size_t SplitPoints::PieceAt(std::uint64_t sample) const noexcept {
    return static_cast<std::size_t>(std::ranges::upper_bound(points_, sample) - points_.begin());
}

std::uint64_t SplitPoints::PieceFirst(std::size_t piece) const noexcept { return piece == 0 ? 0 : points_[piece - 1]; }

std::uint64_t SplitPoints::PieceEnd(std::size_t piece) const noexcept {
    return piece < points_.size() ? points_[piece] : length_;
}

bool SplitPoints::Add(std::uint64_t sample) {
    if (sample == 0 || sample >= length_ || std::ranges::binary_search(points_, sample)) return false;
    const auto at = std::ranges::lower_bound(points_, sample) - points_.begin();
    points_.insert(points_.begin() + at, sample);
    pauses_.insert(pauses_.begin() + at, std::nullopt);
    // The piece split in two keeps its names for its first part.
    names_.insert(names_.begin() + at + 1, PieceNames{});
    DropPausesNotTheirOwn();
    Changed.Raise();
    return true;
}

std::optional<std::size_t> SplitPoints::Nearest(std::uint64_t sample) const noexcept {
    if (points_.empty()) return std::nullopt;
    const std::size_t after = PieceAt(sample);
    if (after == 0) return 0;
    if (after == points_.size()) return after - 1;
    return sample - points_[after - 1] <= points_[after] - sample ? after - 1 : after;
}

bool SplitPoints::RemoveNearest(std::uint64_t sample) {
    const std::optional<std::size_t> point = Nearest(sample);
    if (!point) return false;
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(*point));
    pauses_.erase(pauses_.begin() + static_cast<std::ptrdiff_t>(*point));
    // The two pieces become one, under the first one's names.
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(*point) + 1);
    Changed.Raise();
    return true;
}

void SplitPoints::Move(std::size_t point, std::uint64_t sample) {
    if (point >= points_.size()) return;
    const std::uint64_t lowest = point == 0 ? 1 : points_[point - 1] + 1;
    const std::uint64_t highest = point + 1 == points_.size() ? length_ - 1 : points_[point + 1] - 1;
    points_[point] = std::clamp(sample, lowest, highest);
    DropPausesNotTheirOwn();
    Changed.Raise();
}

void SplitPoints::RemoveAll() { Replace({}); }

void SplitPoints::Replace(std::vector<std::uint64_t> points, std::vector<PieceNames> names,
                          std::vector<std::optional<Pause>> pauses) {
    points_.clear();
    pauses_.clear();
    names_.assign(1, names.empty() ? PieceNames{} : names.front());
    for (std::size_t i = 0; i < points.size(); ++i) {
        // Rising, within the file, one to a sample.
        if (points[i] == 0 || points[i] >= length_ || (!points_.empty() && points[i] <= points_.back())) continue;
        points_.push_back(points[i]);
        pauses_.push_back(i < pauses.size() ? pauses[i] : std::nullopt);
        names_.push_back(i + 1 < names.size() ? names[i + 1] : PieceNames{});
    }
    DropPausesNotTheirOwn();
    Changed.Raise();
}

void SplitPoints::DropPausesNotTheirOwn() {
    for (std::size_t i = 0; i < points_.size(); ++i) {
        std::optional<Pause>& pause = pauses_[i];
        if (!pause) continue;
        const bool holdsItsOwn = pause->first <= points_[i] && points_[i] < pause->end;
        const bool holdsAnother = (i > 0 && points_[i - 1] >= pause->first) ||
                                  (i + 1 < points_.size() && points_[i + 1] < pause->end);
        const bool overlaps = i > 0 && pauses_[i - 1] && pauses_[i - 1]->end > pause->first;
        if (!holdsItsOwn || holdsAnother || overlaps) pause.reset();
    }
}

const PieceNames& SplitPoints::Names(std::size_t piece) const noexcept { return names_[piece]; }

void SplitPoints::SetAlbum(PieceNames album) {
    album_ = std::move(album);
    Changed.Raise();
}

void SplitPoints::SetLeavePausesOut(bool leaveOut) {
    leavePausesOut_ = leaveOut;
    Changed.Raise();
}

}  // namespace app
