// What one full redraw of an image button costs, per style and state, at the
// main window's 97 x 25, next to a baseline measured in the same run: one solid
// fill and one caption draw on the same window. Goal: every style within 10
// times the baseline, with pictures within 20 times; and as many GDI objects
// after 10,000 redraws as before. It also writes a contact sheet of every style
// in every state: build/artifacts/imagebutton-contact-sheet.png.
// Run with: scripts/benchmark imagebutton
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Disc.h"
#include "benchmarks/support/BenchForm.h"
#include "benchmarks/support/Measure.h"
#include "controls/imagebutton/zembutton.h"
#include "forms/Form.h"
#include "support/ContactSheet.h"
#include "support/WindowTesting.h"

namespace {

constexpr int kWidth = 97;
constexpr int kHeight = 25;
constexpr int kSamples = 301;
constexpr int kLeakRedraws = 10000;
constexpr double kGoal = 10;
constexpr double kPictureGoal = 20;
constexpr wchar_t kCaption[] = L"Save Selection";

const char* const kStyleNames[] = {"Standard",      "SoftEdge",     "RoundedGradient", "RoundedBands", "FlatHighlight",
                                   "SplitGradient", "RoundedPanel", "RoundedSimple",   "SquareBands",  "RoundedShaded",
                                   "RoundedBlend",  "FlatEdge",     "FlatThin",        "Themed"};

class BenchForm : public benchmarks::BenchForm {
public:
    BenchForm() : benchmarks::BenchForm(L"Snipmill.ImageButtonBenchmark", L"Image button benchmark", 300, 120) {}
    forms::AmbientProperties Ambient(const forms::Control& control) const override {
        forms::AmbientProperties ambient = Form::Ambient(control);
        ambient.DisplayAsDefault = defaultButton == &control;
        return ambient;
    }
    const forms::Control* defaultButton = nullptr;
};

double Median(const std::function<void()>& work) { return benchmarks::MedianMicroseconds(kSamples, work); }

void PointAt(controls::zembutton& b, UINT message, WPARAM keys) {
    testing_support::CursorTo(b.hWnd(), kWidth / 2, kHeight / 2);
    ::SendMessageW(b.hWnd(), message, keys, testing_support::MousePosition(kWidth / 2, kHeight / 2));
}

struct State {
    const char* name;
    std::function<void(BenchForm&, controls::zembutton&)> apply;
};

const std::vector<State>& States() {
    static const std::vector<State> states = {
        {"Normal", [](BenchForm&, controls::zembutton&) {}},
        {"Hot", [](BenchForm&, controls::zembutton& b) { PointAt(b, WM_MOUSEMOVE, 0); }},
        {"Down",
         [](BenchForm&, controls::zembutton& b) {
             PointAt(b, WM_MOUSEMOVE, 0);
             PointAt(b, WM_LBUTTONDOWN, MK_LBUTTON);
             ::ReleaseCapture();
         }},
        {"Checked",
         [](BenchForm&, controls::zembutton& b) {
             b.SetMode(1);
             b.SetValue(true);
         }},
        {"Disabled", [](BenchForm&, controls::zembutton& b) { b.SetEnabled(false); }},
        {"Focused",
         [](BenchForm& form, controls::zembutton& b) {
             ::SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
             ::SetFocus(b.hWnd());
         }},
        {"Default",
         [](BenchForm& form, controls::zembutton& b) {
             ::SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
             form.defaultButton = &b;
             b.AmbientChanged(L"DisplayAsDefault");
         }},
    };
    return states;
}

std::shared_ptr<forms::Picture> Picture(int bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    void* data = nullptr;
    base::BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
    auto* bytes = static_cast<std::uint8_t*>(data);
    for (int i = 0; i < 16 * 16 * bits / 8; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    return forms::Picture::FromBitmap(std::move(bitmap));
}

std::unique_ptr<controls::zembutton> MakeButton(BenchForm& form, int style) {
    testing_support::MoveMouseAway();
    form.defaultButton = nullptr;
    auto b = std::make_unique<controls::zembutton>(form, L"zembutton1", RECT{10, 10, 10 + kWidth, 10 + kHeight});
    b->SetButtonStyle(style);
    b->SetCaption(kCaption);
    return b;
}

double Baseline(controls::zembutton& b) {
    base::FontHandle font = b.Font()->CreateHandle(96);
    return benchmarks::CaptionBaseline(kSamples, b.hWnd(), font.Get(), 0xFFD1AD, kCaption, DT_CENTER | DT_WORDBREAK);
}

// Every style in every state; a second block with a picture beside the caption,
// a caption effect and a drop-down symbol.
void WriteContactSheet(BenchForm& form) {
    constexpr int kGap = 8;
    constexpr int kLabelWidth = 110;
    constexpr int kHeaderHeight = 22;
    const int columns = static_cast<int>(States().size());
    const int block = kHeaderHeight + 14 * (kHeight + kGap);
    testing_support::ContactSheet sheet(kLabelWidth + columns * (kWidth + kGap), 2 * block + kGap);
    const auto disc = bench::Disc();
    for (int part = 0; part < 2; ++part) {
        const int top = part * block;
        for (int c = 0; c < columns; ++c) {
            const std::string name = States()[static_cast<std::size_t>(c)].name;
            sheet.Label(kLabelWidth + c * (kWidth + kGap), top + 2, kWidth, kHeaderHeight - 4,
                        std::wstring(name.begin(), name.end()) + (part ? L" +" : L""));
        }
        for (int style = 0; style < 14; ++style) {
            const int y = top + kHeaderHeight + style * (kHeight + kGap);
            const std::string name = std::to_string(style) + " " + kStyleNames[style];
            sheet.Label(4, y, kLabelWidth - 8, kHeight, std::wstring(name.begin(), name.end()));
            for (int c = 0; c < columns; ++c) {
                auto button = MakeButton(form, style);
                if (part) {
                    button->SetCaption(L"&Select");
                    button->SetPictureNormal(disc);
                    button->SetPictureEffectOnOver(1);
                    button->SetPictureEffectOnDown(2);
                    button->SetPictureShadow(style % 2 == 1);
                    button->SetCaptionEffects(1 + style % 5);
                    button->SetDropDownSymbol(6);
                    button->SetDropDownSeparator(true);
                }
                States()[static_cast<std::size_t>(c)].apply(form, *button);
                sheet.Draw(kLabelWidth + c * (kWidth + kGap), y, *button);
                if (::GetCapture()) ::ReleaseCapture();
            }
        }
    }
    const std::wstring path = testing_support::ArtifactPath(L"imagebutton-contact-sheet.png");
    if (sheet.Save(path))
        std::printf("contact sheet: %ls\n", path.c_str());
    else
        std::printf("contact sheet could NOT be written\n");
}

}  // namespace

int main() {
    BenchForm form;

    double baseline = 0;
    {
        auto probe = MakeButton(form, 8);
        baseline = Baseline(*probe);
    }
    std::printf("Image button: median of %d full redraws at %d x %d\n", kSamples, kWidth, kHeight);
    std::printf("baseline (one solid fill + one caption draw): %.1f us\n\n", baseline);
    std::printf("%-3s %-16s %-9s %10s %8s %10s %8s\n", "", "style", "state", "us", "x base", "+picture", "x base");

    int overGoal = 0;
    int picturesOverGoal = 0;
    double worst = 0;
    double worstPicture = 0;
    const auto pictures = std::vector{Picture(24), Picture(32)};
    for (int style = 0; style < 14; ++style) {
        for (const State& state : States()) {
            auto plain = MakeButton(form, style);
            state.apply(form, *plain);
            const double time = Median([&] { plain->Redraw(); });
            plain.reset();

            auto pictured = MakeButton(form, style);
            pictured->SetPictureNormal(pictures[static_cast<std::size_t>(style % 2)]);
            pictured->SetPictureShadow(true);
            pictured->SetPicturePushOnHover(true);
            state.apply(form, *pictured);
            const double pictureTime = Median([&] { pictured->Redraw(); });
            pictured.reset();

            const double ratio = time / baseline;
            const double pictureRatio = pictureTime / baseline;
            worst = std::max(worst, ratio);
            worstPicture = std::max(worstPicture, pictureRatio);
            overGoal += ratio > kGoal ? 1 : 0;
            picturesOverGoal += pictureRatio > kPictureGoal ? 1 : 0;
            std::printf("%-3d %-16s %-9s %10.1f %8.1f %10.1f %8.1f\n", style, kStyleNames[style], state.name, time,
                        ratio, pictureTime, pictureRatio);
        }
    }
    std::printf("\nworst: %.1f x baseline (goal %.0f x), %d over; with pictures %.1f x (goal %.0f x), %d over\n", worst,
                kGoal, overGoal, worstPicture, kPictureGoal, picturesOverGoal);

    // Every style and state at once, then 10,000 redraws round the lot.
    std::vector<std::unique_ptr<controls::zembutton>> buttons;
    for (int style = 0; style < 14; ++style) {
        for (const State& state : States()) {
            auto b = MakeButton(form, style);
            b->SetPictureNormal(pictures[static_cast<std::size_t>(style % 2)]);
            state.apply(form, *b);
            b->Redraw();
            buttons.push_back(std::move(b));
        }
    }
    const DWORD before = testing_support::GdiObjects();
    for (int i = 0; i < kLeakRedraws; ++i) buttons[static_cast<std::size_t>(i) % buttons.size()]->Redraw();
    const DWORD after = testing_support::GdiObjects();
    std::printf("GDI objects before %d redraws: %lu, after: %lu (%s)\n", kLeakRedraws, before, after,
                before == after ? "equal" : "NOT equal");
    buttons.clear();
    WriteContactSheet(form);
    return 0;
}
