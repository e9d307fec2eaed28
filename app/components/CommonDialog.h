#pragma once
// The file dialog: the platform's common open and save dialogs behind the
// Filter / FileName / ShowOpen / ShowSave interface the main window uses.
#include <windows.h>

#include <string>

namespace app {

class CommonDialog {
public:
    explicit CommonDialog(HWND owner) : owner_(owner) {}

    // "Description|pattern|Description|pattern..."
    void SetFilter(std::wstring filter) { filter_ = std::move(filter); }
    const std::wstring& Filter() const noexcept { return filter_; }
    // The extension added to a typed save name that has none ("mp3").
    void SetDefaultExt(std::wstring ext) { defaultExt_ = std::move(ext); }
    const std::wstring& FileName() const noexcept { return fileName_; }
    void SetFileName(std::wstring name) { fileName_ = std::move(name); }
    // The dialog's title; empty for the platform's own ("Save As", "Open").
    void SetDialogTitle(std::wstring title) { title_ = std::move(title); }
    // Whether the save dialog asks before a chosen file that exists is replaced (it does unless told).
    void SetOverwritePrompt(bool ask) { overwritePrompt_ = ask; }
    // The chosen file's name without its folder.
    std::wstring FileTitle() const { return TitleOf(fileName_); }
    static std::wstring TitleOf(const std::wstring& path);

    // Modal; true when the user chose a file. A cancelled dialog leaves FileName empty.
    bool ShowOpen();
    bool ShowSave();

    // The filter in the platform's form: pairs separated and ended by NULs.
    static std::wstring PlatformFilter(const std::wstring& filter);

private:
    bool Show(bool save);

    HWND owner_;
    std::wstring filter_;
    std::wstring defaultExt_;
    std::wstring fileName_;
    std::wstring title_;
    bool overwritePrompt_ = true;
};

}  // namespace app
