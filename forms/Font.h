#pragma once
// A font as the host describes it: face, size in points and style, with change
// notification so that controls using it can redraw.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/Handles.h"

namespace forms {

class Font {
public:
    Font(std::wstring name, double sizeInPoints, bool bold = false, bool italic = false, bool underline = false,
         bool strikethrough = false);
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    static std::shared_ptr<Font> Create(std::wstring name, double sizeInPoints, bool bold = false, bool italic = false,
                                        bool underline = false);
    // "MS Sans Serif" 8.25 pt: the font forms and controls have until told otherwise.
    static std::shared_ptr<Font> CreateDefault();
    std::shared_ptr<Font> Clone() const;

    const std::wstring& Name() const noexcept { return name_; }
    double Size() const noexcept { return size_; }
    bool Bold() const noexcept { return weight_ >= FW_BOLD; }
    int Weight() const noexcept { return weight_; }
    bool Italic() const noexcept { return italic_; }
    bool Underline() const noexcept { return underline_; }
    bool Strikethrough() const noexcept { return strikethrough_; }

    void SetName(std::wstring name);
    void SetSize(double points);
    void SetBold(bool bold);
    void SetWeight(int weight);
    void SetItalic(bool italic);
    void SetUnderline(bool underline);
    void SetStrikethrough(bool strikethrough);

    bool SameAs(const Font& other) const noexcept;

    // The face GDI will really draw with: the named one where installed; a
    // vertical-writing "@Face" or a missing face falls back to a readable
    // horizontal face, so text never shows sideways or as empty boxes.
    std::wstring DrawingFace() const;
    LOGFONTW LogFont(int dpi) const;
    // A new GDI font for drawing at the given resolution.
    base::FontHandle CreateHandle(int dpi) const;

    using ChangeHandler = std::function<void()>;
    std::size_t Subscribe(ChangeHandler handler);
    void Unsubscribe(std::size_t token) noexcept;

private:
    void Changed();

    std::wstring name_;
    double size_;
    int weight_;
    bool italic_;
    bool underline_;
    bool strikethrough_;
    std::map<std::size_t, ChangeHandler> listeners_;
    std::size_t nextToken_ = 1;
};

bool IsFontInstalled(const std::wstring& face);

}  // namespace forms
