#include "app/waveform/WaveformWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "app/Artwork.h"
#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "app/TimeText.h"
#include "app/WindowPlace.h"
#include "app/waveform/LevelCommands.h"
#include "app/waveform/LoudnessText.h"
#include "app/waveform/SplitCommands.h"
#include "base/Rounding.h"
#include "forms/PaintMessages.h"

namespace app {

namespace {

constexpr double kKeyZoom = 2.0;
constexpr double kNotchZoom = 1.41421356237;  // two notches of the wheel zoom as far as one key press
// The playhead's place is announced to screen readers no more often than this.
constexpr DWORD kPlayheadAnnounceMs = 1000;
constexpr int kMarkReach = 4;                  // pixels either side of a mark line that grab it
constexpr double kScrollUnits = 1e9;           // the most units the scroll bar is given

}  // namespace

WaveformWindow::WaveformWindow(Form1& main) : main_(main), place_(main.Settings(), L"Waveform") {
    bigIcon_ = ProgramIcon(32);
    smallIcon_ = ProgramIcon(16);
    CreateForm(L"Snipmill.Waveform", L"Waveform", kClientWidth, kClientHeight, WS_OVERLAPPEDWINDOW | WS_HSCROLL, 0,
               main.Handle(), bigIcon_.Get(), smallIcon_.Get());
    // The window owns its menu bar from here on; the frame grows to keep the client area's size.
    ::SetMenu(Handle(), WaveformMenuBar().Release());
    RECT frame{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_HSCROLL, TRUE, 0);
    OpenInPlace({frame.right - frame.left, frame.bottom - frame.top});
    SetShortcuts(AcceleratorTable(WaveformShortcuts()));
    main_.Splits().Changed.Subscribe([this] { SplitPointsChanged(); });
    refresh_.Tick.Subscribe([this] { Refresh(); });
    RECT client{};
    ::GetClientRect(Handle(), &client);
    view_.SetClientWidth(client.right);
}

WaveformWindow::~WaveformWindow() = default;

void WaveformWindow::OpenInPlace(SIZE size) {
    RECT place{};
    if (const auto kept = place_.Load()) {
        place = *kept;
    } else {
        RECT main{};
        ::GetWindowRect(main_.Handle(), &main);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromRect(&main, MONITOR_DEFAULTTONEAREST), &monitor);
        place = PlaceBeside(main, size, monitor.rcWork, main_.ControlAreas());
    }
    ::SetWindowPos(Handle(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void WaveformWindow::ShowFile(const std::wstring& path, std::shared_ptr<const media::Mp3Index> index) {
    // The old file's worker ends before the new one's starts.
    peaks_.reset();
    samples_.clear();
    if (index) peaks_ = std::make_unique<media::Waveform>(path, std::move(index));
    view_.SetLength(peaks_ ? peaks_->Length() : 0);
    shownReady_ = 0;
    shownFinished_ = false;
    shownPlayhead_ = PlayheadSample();
    refresh_.SetEnabled(true);
    ViewChanged();
}

void WaveformWindow::MarksChanged() {
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
    AnnounceChangedParts();
}

void WaveformWindow::SplitPointsChanged() {
    // A key took away the split point being dragged: the drag ends, and letting go moves nothing.
    if (dragging_.kind == Mark::Split && !std::ranges::binary_search(main_.Splits().Points(), dragging_.split)) {
        dragging_ = {};
        if (::GetCapture() == Handle()) ::ReleaseCapture();
    }
    MarksChanged();
}

// Screen readers read the status line's items, then the marks where they are
// drawn (nowhere while scrolled out of sight).
std::vector<forms::Form::DrawnPart> WaveformWindow::DrawnParts() const {
    const WaveformScene scene = MarkedScene();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const WaveformLayout layout(client);
    std::vector<DrawnPart> parts;
    for (const StatusItem& item : StatusItems(scene))
        parts.push_back({ROLE_SYSTEM_STATICTEXT, item.name, item.value, layout.status,
                         parts.empty() ? kPlayheadAnnounceMs : 0});
    auto mark = [&](std::wstring name, std::optional<double> sample) {
        if (!sample) return;
        const double x = std::floor(view_.XOf(*sample));
        RECT line{};
        if (x >= view_.PlotLeft() && x < view_.PlotLeft() + view_.PlotWidth())
            line = {static_cast<long>(x) - kMarkReach, layout.plot.top, static_cast<long>(x) + kMarkReach + 1,
                    layout.plot.bottom};
        parts.push_back({ROLE_SYSTEM_INDICATOR, std::move(name), FormatClock(*sample / Rate()), line});
    };
    mark(L"Start mark", scene.start);
    mark(L"End mark", scene.end);
    for (std::size_t i = 0; i < scene.splits.size(); ++i)
        mark(L"Split point " + std::to_wstring(i + 1), static_cast<double>(scene.splits[i]));
    return parts;
}

double WaveformWindow::Rate() const { return peaks_ ? peaks_->SampleRate() : 1; }

double WaveformWindow::PlayheadSample() const { return main_.player().CurrentPosition() * Rate(); }

WaveformWindow::MarkSamples WaveformWindow::CurrentMarkSamples() const {
    const Marks marks = main_.CurrentMarks();
    auto sample = [this](std::optional<double> seconds) -> std::optional<double> {
        if (!seconds) return std::nullopt;
        return *seconds * Rate();
    };
    MarkSamples samples{sample(marks.start), sample(marks.end), std::nullopt};
    if (marks.start && marks.length) samples.cutEnd = sample(*marks.start + *marks.length);
    return samples;
}

WaveformScene WaveformWindow::Scene() {
    WaveformScene scene = MarkedScene();
    if (!peaks_) return scene;
    DecodeVisible();
    scene.samples = samples_;
    scene.samplesFirst = samplesFirst_;
    return scene;
}

WaveformScene WaveformWindow::MarkedScene() const {
    WaveformScene scene{.view = view_};
    scene.peaks = peaks_.get();
    if (!peaks_) return scene;
    const MarkSamples marks = CurrentMarkSamples();
    scene.start = marks.start;
    scene.end = marks.end;
    scene.cutEnd = marks.cutEnd;
    const SplitPoints& splits = main_.Splits();
    scene.splits = splits.Points();
    if (splits.LeavePausesOut())
        for (std::size_t i = 0; i < splits.Points().size(); ++i)
            if (const auto& pause = splits.PauseAt(i)) scene.leftOut.push_back(*pause);
    // A mark being dragged is drawn where the pointer holds it.
    if (dragging_.kind == Mark::Start) scene.start = view_.SampleAt(dragX_);
    if (dragging_.kind == Mark::End) scene.end = view_.SampleAt(dragX_);
    if (dragging_.kind == Mark::Split)
        std::ranges::replace(scene.splits, dragging_.split,
                             static_cast<std::uint64_t>(std::max(0.0, std::round(view_.SampleAt(dragX_)))));
    scene.playhead = PlayheadSample();
    gains_ = main_.SelectionGains();
    scene.gains = gains_.get();
    if (gains_) scene.levels = LevelsText(*gains_);
    scene.loudness = StatusLoudness();
    return scene;
}

// The selection's loudness as it will be saved (the level moves it by its decibels),
// or the file's without a selection; measured again only when either changes.
std::wstring WaveformWindow::StatusLoudness() const {
    if (!peaks_ || !peaks_->Finished()) return {};
    const auto selection = main_.SelectionSamples();
    const std::uint64_t first = selection ? selection->first : 0;
    const std::uint64_t end = selection ? selection->end : peaks_->Length();
    const int steps = selection ? main_.Levels().Steps() : 0;
    const auto key = std::make_tuple(first, end, steps);
    if (loudnessFor_ != key) {
        loudnessFor_ = key;
        loudness_ = LoudnessText(peaks_->LoudnessOf(first, end), steps * LevelSettings::kStepDb);
    }
    return loudness_;
}

// The settings as the status line names them, and the granules a rise holds at the
// highest gain, counted again only when the settings or the selection change.
std::wstring WaveformWindow::LevelsText(const media::GainPlan& gains) const {
    const media::SampleRange range = gains.Range();
    if (heldFor_ != gains.Change() || heldRange_.first != range.first || heldRange_.end != range.end) {
        heldFor_ = gains.Change();
        heldRange_ = range;
        held_ = 0;
        if (const auto index = main_.player().Index(); index && gains.Change().steps > 0) {
            try {
                held_ = media::TryGainPlan(main_.player().URL(), *index, gains).heldAtTop;
            } catch (const media::MediaError&) {  // unreadable now: the save will say so
            }
        }
    }
    std::wstring text = main_.Levels().StatusText();
    if (held_ > 0) text += L" (" + std::to_wstring(held_) + (held_ == 1 ? L" granule" : L" granules") + L" held at gain 255)";
    return text;
}

// Close up, the samples themselves are drawn: those around the view are decoded
// once and kept while the view stays within them.
void WaveformWindow::DecodeVisible() {
    if (!peaks_ || view_.SamplesPerPixel() >= WaveformPainter::kPeaksFrom) return;
    const auto first = static_cast<std::uint64_t>(std::max(0.0, std::floor(view_.First())));
    const auto end = std::min(peaks_->Length(), static_cast<std::uint64_t>(std::ceil(view_.First() + view_.VisibleSamples())) + 1);
    const std::size_t channels = static_cast<std::size_t>(peaks_->Channels());
    const std::uint64_t have = samples_.size() / channels;
    if (!samples_.empty() && first >= samplesFirst_ && end <= samplesFirst_ + have) return;
    // A view's width either side, so scrolling a little needs no decoding.
    const std::uint64_t width = end - first;
    samplesFirst_ = first > width ? first - width : 0;
    samples_ = peaks_->Samples(samplesFirst_, static_cast<std::size_t>(std::min(peaks_->Length(), end + width) - samplesFirst_));
}

RECT WaveformWindow::PlotArea() const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    return WaveformLayout(client).plot;
}

// Draws `area` of the client area through the back buffer, clipped to it, so that
// the playhead's steps redraw only the columns they touch.
void WaveformWindow::Paint(HDC dc, const RECT& area) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    buffer_.PaintArea(dc, client, area, [&](HDC target) {
        base::RegionHandle clip(::CreateRectRgnIndirect(&area));
        ::ExtSelectClipRgn(target, clip.Get(), RGN_AND);
        painter_.Paint(target, client, area, Scene());
        ::SelectClipRgn(target, nullptr);
    });
}

void WaveformWindow::InvalidateColumn(double x) {
    const RECT plot = PlotArea();
    const long column = base::FloorWithin(x, plot.left - 2, plot.right + 1);
    RECT area{column - 1, plot.top, column + 2, plot.bottom};
    ::InvalidateRect(Handle(), &area, FALSE);
}

// Brings the playhead and the filling envelope up to date, redrawing only what changed.
void WaveformWindow::Refresh() {
    if (!peaks_ || !Visible()) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const WaveformLayout layout(client);
    bool statusChanged = false;

    const double playhead = PlayheadSample();
    if (playhead != shownPlayhead_) {
        // Playing on past the right edge turns the page.
        const double right = view_.First() + view_.VisibleSamples();
        if (main_.player().PlayState() == MediaPlayer::kPlaying && shownPlayhead_ < right && playhead >= right) {
            view_.ScrollTo(playhead);
            shownPlayhead_ = playhead;
            ViewChanged();
            return;
        }
        if (std::floor(view_.XOf(playhead)) != std::floor(view_.XOf(shownPlayhead_))) {
            InvalidateColumn(view_.XOf(shownPlayhead_));
            InvalidateColumn(view_.XOf(playhead));
        }
        shownPlayhead_ = playhead;
        statusChanged = true;
    }

    const std::uint64_t ready = peaks_->ReadyLength();
    const bool finished = peaks_->Finished();
    if (ready != shownReady_ || finished != shownFinished_) {
        RECT filled = layout.plot;
        // Clipped to the window before they become pixels: close up in a long file they lie far off it.
        auto column = [&](double x) { return base::FloorWithin(x, client.left, client.right); };
        filled.left = column(view_.XOf(static_cast<double>(shownReady_))) - 1;
        filled.right = finished ? client.right : column(std::ceil(view_.XOf(static_cast<double>(ready)))) + 1;
        ::InvalidateRect(Handle(), &filled, FALSE);
        shownReady_ = ready;
        shownFinished_ = finished;
        statusChanged = true;
    }
    if (!statusChanged) return;
    ::InvalidateRect(Handle(), &layout.status, FALSE);
    AnnounceChangedParts();
}

void WaveformWindow::ViewChanged() {
    UpdateScrollBar();
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void WaveformWindow::UpdateScrollBar() {
    const double length = static_cast<double>(view_.Length());
    scrollScale_ = std::max(view_.SamplesPerPixel(), length / kScrollUnits);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::ceil(length / scrollScale_)) - 1;
    info.nPage = static_cast<UINT>(std::floor(view_.VisibleSamples() / scrollScale_));
    info.nPos = static_cast<int>(std::lround(view_.First() / scrollScale_));
    ::SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
}

void WaveformWindow::ZoomAround(double factor, double x) {
    view_.ZoomAround(factor, x);
    ViewChanged();
}

void WaveformWindow::ScrollTo(double first) {
    view_.ScrollTo(first);
    ViewChanged();
}

void WaveformWindow::OnScroll(int request) {
    const double page = view_.VisibleSamples();
    switch (request) {
    case SB_LINELEFT: ScrollTo(view_.First() - page / 20); break;
    case SB_LINERIGHT: ScrollTo(view_.First() + page / 20); break;
    case SB_PAGELEFT: ScrollTo(view_.First() - page); break;
    case SB_PAGERIGHT: ScrollTo(view_.First() + page); break;
    case SB_LEFT: ScrollTo(0); break;
    case SB_RIGHT: ScrollTo(view_.LastFirst()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(Handle(), SB_HORZ, &info);
        ScrollTo(info.nTrackPos * scrollScale_);
        break;
    }
    default: break;
    }
}

WaveformWindow::Grab WaveformWindow::MarkAt(int x) const {
    auto grabs = [&](std::optional<double> sample) { return sample && std::abs(view_.XOf(*sample) - x) <= kMarkReach; };
    // Of two marks at one place the end is taken, so a zero-length selection can still be widened to the right.
    const MarkSamples marks = CurrentMarkSamples();
    if (grabs(marks.end) && (!grabs(marks.start) || x >= view_.XOf(*marks.end))) return {Mark::End};
    if (grabs(marks.start)) return {Mark::Start};
    // The selection's marks come before the split points.
    const SplitPoints& splits = main_.Splits();
    const double sample = std::max(0.0, view_.SampleAt(x));
    if (const auto nearest = splits.Nearest(static_cast<std::uint64_t>(std::llround(sample)));
        nearest && grabs(static_cast<double>(splits.Points()[*nearest])))
        return {Mark::Split, splits.Points()[*nearest]};
    return {};
}

void WaveformWindow::OnLeftDown(int x, int y) {
    if (!peaks_) return;
    const RECT plot = PlotArea();
    if (y >= plot.bottom) return;
    dragging_ = MarkAt(x);
    if (dragging_.kind != Mark::None) {
        dragX_ = x;
        ::SetCapture(Handle());
        return;
    }
    const double sample = std::clamp(view_.SampleAt(x), 0.0, static_cast<double>(peaks_->Length()));
    main_.player().SetCurrentPosition(sample / Rate());
    Refresh();
}

void WaveformWindow::OnDoubleClick(int x, int y) {
    // A quick second press on a mark takes hold of it, as the first one did.
    if (MarkAt(x).kind != Mark::None) return OnLeftDown(x, y);
    if (!peaks_ || y >= PlotArea().bottom) return;
    const double sample = std::clamp(view_.SampleAt(x), 0.0, static_cast<double>(peaks_->Length()));
    main_.SelectPiece(main_.Splits().PieceAt(static_cast<std::uint64_t>(sample)));
}

void WaveformWindow::OnMouseMove(int x) {
    if (dragging_.kind != Mark::None) {
        // The mark, the selection and the status line all move with it.
        dragX_ = std::clamp<double>(x, view_.XOf(0), view_.XOf(static_cast<double>(peaks_->Length())));
        ::InvalidateRect(Handle(), nullptr, FALSE);
    } else if (panX_) {
        view_.ScrollByPixels(*panX_ - x);
        panX_ = x;
        ViewChanged();
    }
}

void WaveformWindow::OnLeftUp(int x) {
    // The mark goes where the button was let go, whatever moves came before.
    OnMouseMove(x);
    const Grab grab = std::exchange(dragging_, Grab{});
    if (grab.kind == Mark::None) return;
    ::ReleaseCapture();
    const double seconds = main_.CurrentMarks().WithinFile(view_.SampleAt(dragX_) / Rate());
    // Refused, the mark goes back where it was.
    if (grab.kind == Mark::Start)
        main_.MoveStart(seconds, Handle());
    else if (grab.kind == Mark::End)
        main_.MoveEnd(seconds, Handle());
    else
        main_.Splits().Move(*main_.Splits().Nearest(grab.split),
                            static_cast<std::uint64_t>(std::llround(seconds * Rate())));
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void WaveformWindow::OnShortcut(WORD command) {
    const double anchor = std::clamp(view_.XOf(PlayheadSample()), static_cast<double>(view_.PlotLeft()),
                                     static_cast<double>(view_.PlotLeft() + view_.PlotWidth()));
    switch (command) {
    case kMainWindow: ::SetForegroundWindow(main_.Handle()); break;
    case kZoomIn: ZoomAround(1 / kKeyZoom, anchor); break;
    case kZoomOut: ZoomAround(kKeyZoom, anchor); break;
    case kWholeFile:
        view_.ShowWhole();
        ViewChanged();
        break;
    case kShowFileStart: ScrollTo(0); break;
    case kShowFileEnd: ScrollTo(view_.LastFirst()); break;
    case kDecibels:
        painter_.SetDecibels(!painter_.Decibels());
        ::InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case kCloseWaveform: Hide(); break;
    case kRemoveSplitPoint:
        main_.Splits().RemoveNearest(static_cast<std::uint64_t>(std::llround(PlayheadSample())));
        break;
    case kRemoveAllSplitPoints: main_.Splits().RemoveAll(); break;
    case kFadeIn:
    case kFadeOut:
    case kChangeLevel:
    case kNormalize:
    case kNoLevelChange:
    case kNormalizeLoudness:
    case kMeasureLoudness:
    case kReplayGainTags:
        RunLevelCommand(main_, *this, static_cast<WaveformCommand>(command));
        break;
    case kSavePieces:
    case kImportCueSheet:
    case kExportCueSheet:
    case kFindPauses:
    case kSplitEvery:
        if (!main_.player().URL().empty()) RunSplitCommand(main_, *this, static_cast<WaveformCommand>(command));
        break;
    default: main_.RunCommand(command); break;
    }
}

bool WaveformWindow::ShortcutRepeats(WORD command) const { return RepeatsWhileHeld(command); }

LRESULT WaveformWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (forms::AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT& area) { Paint(dc, area); }, painted))
        return painted;
    switch (message) {
    case WM_SIZE:
        view_.SetClientWidth(LOWORD(lParam));
        ViewChanged();
        return 0;
    case WM_CLOSE:
        Hide();  // closing only hides: the window keeps its file and view
        return 0;
    case WM_EXITSIZEMOVE: {
        // The user moved or sized the window: it opens there next time.
        RECT place{};
        ::GetWindowRect(Handle(), &place);
        place_.Save(place);
        return 0;
    }
    case WM_ENABLE:
        // A dialog or message box of this window holds the main window too, as the
        // main window's hold this one: nothing may change under the question.
        ::EnableWindow(main_.Handle(), static_cast<BOOL>(wParam));
        break;
    case WM_HSCROLL:
        if (lParam == 0) {
            OnScroll(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(Handle(), &point);
        ZoomAround(std::pow(kNotchZoom, -GET_WHEEL_DELTA_WPARAM(wParam) / static_cast<double>(WHEEL_DELTA)), point.x);
        return 0;
    }
    case WM_MOUSEHWHEEL:
        view_.ScrollByPixels(GET_WHEEL_DELTA_WPARAM(wParam) / 2.0);
        ViewChanged();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(Handle(), &point);
            const bool onMark =
                dragging_.kind != Mark::None || (point.y < PlotArea().bottom && MarkAt(point.x).kind != Mark::None);
            ::SetCursor(::LoadCursorW(nullptr, onMark ? IDC_SIZEWE : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        EnableMenuItems(reinterpret_cast<HMENU>(wParam),
                        {.fileLoaded = peaks_ != nullptr,
                         .hasSplitPoints = !main_.Splits().Points().empty(),
                         .hasSelection = peaks_ && main_.SelectionSamples(),
                         .decibels = painter_.Decibels(),
                         .replayGainTags = WritesReplayGainTags()});
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {  // from the menu bar
            OnShortcut(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftUp(GET_X_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        panX_ = GET_X_LPARAM(lParam);
        ::SetCapture(Handle());
        return 0;
    case WM_RBUTTONUP:
        if (panX_) {
            panX_.reset();
            ::ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the mouse ends a drag without moving the mark.
        if (dragging_.kind != Mark::None || panX_) {
            dragging_ = {};
            panX_.reset();
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace app
