#include "ButtonTestSupport.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include "forms/Handles.h"
#include "forms/MessageLoop.h"

namespace imagebutton_test {

TestForm::TestForm(int width, int height) {
    CreateForm(L"Snipmill.ImageButtonTest", L"Image button test", width, height, WS_OVERLAPPEDWINDOW, 0);
    ::SetWindowPos(Handle(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    Show(SW_SHOW);
    ::UpdateWindow(Handle());
    Pump();
}

void TestForm::Reset() {
    userMode = true;
    defaultButton = nullptr;
    changes.clear();
    ::SetForegroundWindow(Handle());
    ::SetFocus(Handle());
    Pump();
}

TestForm& SharedForm() {
    static TestForm form;
    form.Reset();
    return form;
}

forms::AmbientProperties TestForm::Ambient(const forms::Control& control) const {
    forms::AmbientProperties ambient = Form::Ambient(control);
    ambient.UserMode = userMode;
    ambient.DisplayAsDefault = defaultButton == &control;
    return ambient;
}

void TestForm::PropertyChanged(forms::Control&, std::wstring_view name) { changes.emplace_back(name); }

RECT Bounds(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

void Pump() { forms::DoEvents(); }

Snapshot::Snapshot(controls::zembutton& button) {
    RECT client{};
    ::GetClientRect(button.hWnd(), &client);
    width_ = client.right;
    height_ = client.bottom;
    forms::WindowDC screen(nullptr);
    controls::imagebutton::PixelBlock block(screen.Get(), width_, height_, 32);
    button.DrawTo(block.Dc());
    pixels_ = PixelsOf(block);
}

std::vector<std::uint32_t> PixelsOf(const controls::imagebutton::PixelBlock& block) {
    ::GdiFlush();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < block.Height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(block.Row(y));
        for (int x = 0; x < block.Width(); ++x) pixels.push_back(row[x] & 0xFFFFFFu);
    }
    return pixels;
}

std::shared_ptr<forms::Picture> MakeBitmap(long fill, std::initializer_list<Spot> spots, int bits, int fillAlpha,
                                           int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    void* data = nullptr;
    forms::BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
    auto* bytes = static_cast<std::uint8_t*>(data);
    const int stride = (size * bits + 31) / 32 * 4;
    auto put = [&](int x, int y, long c, int a) {
        std::uint8_t* p = bytes + y * stride + x * (bits / 8);
        p[0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
        p[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
        p[2] = static_cast<std::uint8_t>(c & 0xFF);
        if (bits == 32) p[3] = static_cast<std::uint8_t>(a);
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) put(x, y, fill, fillAlpha);
    for (const Spot& s : spots) put(s.x, s.y, s.color, s.alpha);
    return forms::Picture::FromBitmap(std::move(bitmap));
}

long Snapshot::At(int x, int y) const {
    const std::uint32_t p =
        pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x));
    // 0x00RRGGBB in memory order B, G, R -> 0x00BBGGRR
    return static_cast<long>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

namespace {
LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

void PlaceCursor(controls::zembutton& button, int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(button.hWnd(), &at);
    ::SetCursorPos(at.x, at.y);
}
}  // namespace

void MoveMouse(controls::zembutton& button, int x, int y) {
    PlaceCursor(button, x, y);
    ::SendMessageW(button.hWnd(), WM_MOUSEMOVE, 0, Point(x, y));
}

void MoveMouseAway() {
    ::SetCursorPos(1270, 1015);
    Pump();
}

void Press(controls::zembutton& button, int x, int y, UINT message) {
    PlaceCursor(button, x, y);
    const WPARAM held = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK   ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ? MK_RBUTTON
                                                                                   : MK_MBUTTON;
    ::SendMessageW(button.hWnd(), message, held, Point(x, y));
}

void Release(controls::zembutton& button, int x, int y, UINT message) {
    ::SendMessageW(button.hWnd(), message, 0, Point(x, y));
}

void Key(controls::zembutton& button, UINT message, WPARAM key, LPARAM flags) {
    ::SendMessageW(button.hWnd(), message, key, flags | 1);
}

void Activate(forms::Form& form, bool active) {
    ::SendMessageW(form.Handle(), WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

DWORD GdiObjects() {
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    // Wine does not keep this count, but its handle table takes a handle with
    // a zero high word for whatever lives at that index: count the live ones.
    DWORD count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    return count;
}

namespace {
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}
}  // namespace

DWORD ThreadWindows() {
    DWORD count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

namespace {
std::uint32_t Crc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFFu) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutBig(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}
}  // namespace

bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint32_t>& pixels) {
    // Rows of filter byte 0 + RGB, kept in stored (uncompressed) deflate blocks.
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p =
                pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
        z.push_back(at + size >= raw.size() ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(size));
        z.push_back(static_cast<std::uint8_t>(size >> 8));
        z.push_back(static_cast<std::uint8_t>(~size));
        z.push_back(static_cast<std::uint8_t>(~size >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + size));
        if (raw.empty()) break;
    }
    PutBig(z, (b << 16) | a);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBig(header, static_cast<std::uint32_t>(width));
    PutBig(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}

}  // namespace imagebutton_test
