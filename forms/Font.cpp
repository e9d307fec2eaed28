#include "forms/Font.h"

#include "base/Rounding.h"

namespace forms {

namespace {
constexpr wchar_t kFallbackFace[] = L"Tahoma";

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
}  // namespace

bool IsFontInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    static std::map<std::wstring, bool> known;
    auto it = known.find(face);
    if (it != known.end()) return it->second;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    base::WindowDC screen(nullptr);
    if (screen.Get()) ::EnumFontFamiliesExW(screen.Get(), &query, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    known[face] = found;
    return found;
}

Font::Font(std::wstring name, double sizeInPoints, bool bold, bool italic, bool underline, bool strikethrough)
    : name_(std::move(name)),
      size_(sizeInPoints),
      weight_(bold ? FW_BOLD : FW_NORMAL),
      italic_(italic),
      underline_(underline),
      strikethrough_(strikethrough) {}

std::shared_ptr<Font> Font::Create(std::wstring name, double sizeInPoints, bool bold, bool italic, bool underline) {
    return std::make_shared<Font>(std::move(name), sizeInPoints, bold, italic, underline);
}

std::shared_ptr<Font> Font::CreateDefault() { return Create(L"MS Sans Serif", 8.25); }

std::shared_ptr<Font> Font::Clone() const {
    auto copy = std::make_shared<Font>(name_, size_, false, italic_, underline_, strikethrough_);
    copy->weight_ = weight_;
    return copy;
}

void Font::SetName(std::wstring name) {
    name_ = std::move(name);
    Changed();
}
void Font::SetSize(double points) {
    size_ = points;
    Changed();
}
void Font::SetBold(bool bold) {
    weight_ = bold ? FW_BOLD : FW_NORMAL;
    Changed();
}
void Font::SetWeight(int weight) {
    weight_ = weight;
    Changed();
}
void Font::SetItalic(bool italic) {
    italic_ = italic;
    Changed();
}
void Font::SetUnderline(bool underline) {
    underline_ = underline;
    Changed();
}
void Font::SetStrikethrough(bool strikethrough) {
    strikethrough_ = strikethrough;
    Changed();
}

bool Font::SameAs(const Font& other) const noexcept {
    return _wcsicmp(name_.c_str(), other.name_.c_str()) == 0 && size_ == other.size_ && weight_ == other.weight_ &&
           italic_ == other.italic_ && underline_ == other.underline_ && strikethrough_ == other.strikethrough_;
}

std::wstring Font::DrawingFace() const {
    if (IsFontInstalled(name_)) return name_;
    if (!name_.empty() && name_[0] == L'@' && IsFontInstalled(name_.substr(1))) return name_.substr(1);
    return kFallbackFace;
}

LOGFONTW Font::LogFont(int dpi) const {
    LOGFONTW lf{};
    lf.lfHeight = -base::RoundToInt(size_ * dpi / 72.0);
    lf.lfWeight = weight_;
    lf.lfItalic = italic_;
    lf.lfUnderline = underline_;
    lf.lfStrikeOut = strikethrough_;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    DrawingFace().copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

base::FontHandle Font::CreateHandle(int dpi) const {
    LOGFONTW lf = LogFont(dpi);
    return base::FontHandle(::CreateFontIndirectW(&lf));
}

std::size_t Font::Subscribe(ChangeHandler handler) {
    std::size_t token = nextToken_++;
    listeners_.emplace(token, std::move(handler));
    return token;
}

void Font::Unsubscribe(std::size_t token) noexcept { listeners_.erase(token); }

void Font::Changed() {
    auto listeners = listeners_;  // a listener may unsubscribe while notified
    for (auto& [token, handler] : listeners) handler();
}

}  // namespace forms
