#include "app/waveform/LoudnessTable.h"

#include <commctrl.h>

#include "app/waveform/DialogIds.h"
#include "app/waveform/LoudnessText.h"

namespace app {

namespace {

struct TableState {
    const std::vector<LoudnessRow>& rows;
    const std::wstring& note;
};

void FillTable(HWND table, const std::vector<LoudnessRow>& rows) {
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT);
    const std::pair<const wchar_t*, int> columns[] = {
        {L"", 70}, {L"Loudness", 150}, {L"Loudness range", 100}, {L"True peak", 90}};
    int index = 0;
    for (const auto& [title, width] : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | (index > 0 ? LVCF_FMT : 0);
        column.fmt = LVCFMT_RIGHT;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(title);
        column.iSubItem = index;
        ListView_InsertColumn(table, index++, &column);
    }
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r].name.c_str());
        ListView_InsertItem(table, &item);
        const std::vector<std::wstring> cells = LoudnessCells(rows[r]);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            ListView_SetItemText(table, r, c + 1, const_cast<wchar_t*>(cells[c].c_str()));
    }
}

INT_PTR CALLBACK TableProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto& state = *reinterpret_cast<const TableState*>(lParam);
        FillTable(::GetDlgItem(dialog, IDC_TABLE), state.rows);
        ::SetDlgItemTextW(dialog, IDC_NOTE, state.note.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

std::vector<LoudnessRow> LoudnessRows(const media::Waveform& waveform, std::optional<media::SampleRange> selection,
                                      double levelDb, const SplitPoints& splits) {
    std::vector<LoudnessRow> rows{{L"File", waveform.LoudnessOf(0, waveform.Length())}};
    if (selection) rows.push_back({L"Selection", waveform.LoudnessOf(selection->first, selection->end), levelDb});
    if (!splits.Points().empty())
        for (std::size_t piece = 0; piece < splits.Pieces(); ++piece)
            rows.push_back({L"Piece " + std::to_wstring(piece + 1),
                            waveform.LoudnessOf(splits.PieceFirst(piece), splits.PieceEnd(piece)), levelDb});
    return rows;
}

std::vector<std::wstring> LoudnessCells(const LoudnessRow& row) {
    if (!row.loudness.measured) return {kNotMeasured, L"", L""};
    return {LoudnessText(row.loudness, row.changeDb), FigureText(row.loudness.range, L"LU"),
            FigureText(row.loudness.truePeak + row.changeDb, L"dBTP", true)};
}

void ShowLoudnessTable(HWND owner, const std::vector<LoudnessRow>& rows, const std::wstring& note) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    TableState state{rows, note};
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LOUDNESS), owner, TableProc,
                      reinterpret_cast<LPARAM>(&state));
}

}  // namespace app
