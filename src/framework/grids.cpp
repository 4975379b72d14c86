#include "framework/grids.h"

#include "framework/handles.h"

#include <windowsx.h>

#include <algorithm>

namespace kova {

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    StoreBounds(0, 0, 320, 120);
    color_ = clWindow;
    tabStop_ = true;
    ResizeCells();
}

TStringGrid::~TStringGrid() {
    if (editor_) {
        TEdit* e = editor_;
        editor_ = nullptr;
        e->Free();
    }
}

void TStringGrid::DefineProps(TPropList& L) {
    L.For<TStringGrid>()
        .Int("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount)
        .Int("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount)
        .Int("FixedCols", &TStringGrid::FixedCols, &TStringGrid::SetFixedCols)
        .Int("FixedRows", &TStringGrid::FixedRows, &TStringGrid::SetFixedRows)
        .Int("DefaultColWidth", &TStringGrid::DefaultColWidth, &TStringGrid::SetDefaultColWidth)
        .Int("DefaultRowHeight", &TStringGrid::DefaultRowHeight, &TStringGrid::SetDefaultRowHeight)
        .Set("Options",
             {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect", "goDrawFocusSelected",
              "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
              "goAlwaysShowEditor", "goThumbTracking"},
             &TStringGrid::Options, &TStringGrid::SetOptions)
        .Bool("DefaultDrawing", &TStringGrid::DefaultDrawing, &TStringGrid::SetDefaultDrawing)
        .Color("FixedColor", &TStringGrid::FixedColor, &TStringGrid::SetFixedColor)
        .Event("OnDrawCell", &TStringGrid::OnDrawCell)
        .Event("OnSelectCell", &TStringGrid::OnSelectCell)
        .Event("OnSetEditText", &TStringGrid::OnSetEditText);
}

void TStringGrid::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style |= WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TStringGrid::ResizeCells() {
    cells_.resize(static_cast<size_t>(rowCount_));
    for (auto& row : cells_) row.resize(static_cast<size_t>(colCount_));
    colWidths_.resize(static_cast<size_t>(colCount_), defColWidth_);
    rowHeights_.resize(static_cast<size_t>(rowCount_), defRowHeight_);
    col_ = std::clamp(col_, std::min(fixedCols_, colCount_ - 1), std::max(0, colCount_ - 1));
    row_ = std::clamp(row_, std::min(fixedRows_, rowCount_ - 1), std::max(0, rowCount_ - 1));
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    UpdateScrollBar();
    Invalidate();
}

void TStringGrid::SetColCount(int n) {
    colCount_ = std::max(1, n);
    fixedCols_ = std::min(fixedCols_, colCount_ - 1);
    ResizeCells();
}
void TStringGrid::SetRowCount(int n) {
    rowCount_ = std::max(1, n);
    fixedRows_ = std::min(fixedRows_, rowCount_ - 1);
    ResizeCells();
}
void TStringGrid::SetFixedCols(int n) {
    fixedCols_ = std::clamp(n, 0, colCount_ - 1);
    ResizeCells();
}
void TStringGrid::SetFixedRows(int n) {
    fixedRows_ = std::clamp(n, 0, rowCount_ - 1);
    ResizeCells();
}
void TStringGrid::SetDefaultColWidth(int w) {
    defColWidth_ = std::max(0, w);
    colWidths_.assign(static_cast<size_t>(colCount_), defColWidth_);
    Invalidate();
}
void TStringGrid::SetDefaultRowHeight(int h) {
    defRowHeight_ = std::max(1, h);
    rowHeights_.assign(static_cast<size_t>(rowCount_), defRowHeight_);
    UpdateScrollBar();
    Invalidate();
}
int TStringGrid::ColWidths(int c) const {
    return c >= 0 && c < colCount_ ? colWidths_[static_cast<size_t>(c)] : 0;
}
void TStringGrid::SetColWidths(int c, int w) {
    if (c < 0 || c >= colCount_) return;
    colWidths_[static_cast<size_t>(c)] = std::max(0, w);
    Invalidate();
}
int TStringGrid::RowHeights(int r) const {
    return r >= 0 && r < rowCount_ ? rowHeights_[static_cast<size_t>(r)] : 0;
}
void TStringGrid::SetRowHeights(int r, int h) {
    if (r < 0 || r >= rowCount_) return;
    rowHeights_[static_cast<size_t>(r)] = std::max(1, h);
    Invalidate();
}
void TStringGrid::SetOptions(TGridOptions o) {
    options_ = o;
    if (!(o & goEditing)) HideEditor(true);
    Invalidate();
}

std::string TStringGrid::Cells(int c, int r) const {
    if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount_) return {};
    return cells_[static_cast<size_t>(r)][static_cast<size_t>(c)];
}
void TStringGrid::SetCells(int c, int r, const std::string& s) {
    if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount_) return;
    cells_[static_cast<size_t>(r)][static_cast<size_t>(c)] = s;
    if (handle_) {
        RECT rc = CellRect(c, r);
        InvalidateRect(handle_, &rc, FALSE);
    }
}

RECT TStringGrid::CellRect(int c, int r) const {
    if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount_ || (r >= fixedRows_ && r < topRow_)) return RECT{0, 0, 0, 0};
    int x = 0;
    for (int i = 0; i < c; ++i) x += colWidths_[static_cast<size_t>(i)] + 1;
    int y = 0;
    for (int i = 0; i < r; ++i) {
        if (i >= fixedRows_ && i < topRow_) continue;
        y += rowHeights_[static_cast<size_t>(i)] + 1;
    }
    return RECT{x, y, x + colWidths_[static_cast<size_t>(c)], y + rowHeights_[static_cast<size_t>(r)]};
}

bool TStringGrid::MouseToCell(int x, int y, int& c, int& r) const {
    for (int row = 0; row < rowCount_; ++row)
        for (int col = 0; col < colCount_; ++col) {
            RECT rc = CellRect(col, row);
            if (rc.right > rc.left && x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom) {
                c = col;
                r = row;
                return true;
            }
        }
    return false;
}

int TStringGrid::VisibleRows() const {
    RECT cr = ClientRect();
    int y = 0;
    for (int i = 0; i < fixedRows_; ++i) y += rowHeights_[static_cast<size_t>(i)] + 1;
    int n = 0;
    for (int i = topRow_; i < rowCount_; ++i) {
        y += rowHeights_[static_cast<size_t>(i)] + 1;
        if (y > cr.bottom) break;
        ++n;
    }
    return std::max(1, n);
}

void TStringGrid::UpdateScrollBar() {
    if (!handle_) return;
    int scrollable = rowCount_ - fixedRows_;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, scrollable - 1),
                  static_cast<UINT>(VisibleRows()), topRow_ - fixedRows_, 0};
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
}

void TStringGrid::SetTopRow(int r) {
    int maxTop = std::max(fixedRows_, rowCount_ - VisibleRows());
    r = std::clamp(r, fixedRows_, maxTop);
    if (r == topRow_) return;
    HideEditor(true);
    topRow_ = r;
    UpdateScrollBar();
    Invalidate();
}

void TStringGrid::FocusCell(int c, int r) {
    if (c < fixedCols_ || r < fixedRows_ || c >= colCount_ || r >= rowCount_) return;
    if (c == col_ && r == row_) return;
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, c, r, can);
    if (!can) return;
    HideEditor(true);
    col_ = c;
    row_ = r;
    if (row_ < topRow_) SetTopRow(row_);
    else if (row_ >= topRow_ + VisibleRows()) SetTopRow(row_ - VisibleRows() + 1);
    Invalidate();
}

void TStringGrid::ShowEditor() {
    if (editor_ || !(options_ & goEditing) || !handle_) return;
    RECT rc = CellRect(col_, row_);
    if (rc.right <= rc.left) return;
    editor_ = new TEdit(nullptr);
    editor_->SetBounds(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    editor_->SetText(Cells(col_, row_));
    editor_->SetParent(this);
    LONG_PTR ex = GetWindowLongPtrA(editor_->Handle(), GWL_EXSTYLE);
    SetWindowLongPtrA(editor_->Handle(), GWL_EXSTYLE, ex & ~WS_EX_CLIENTEDGE);
    SetWindowPos(editor_->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    editor_->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        if (key == VK_RETURN) {
            key = 0;
            HideEditor(true);
            ::SetFocus(handle_);
        } else if (key == VK_ESCAPE) {
            key = 0;
            HideEditor(false);
            ::SetFocus(handle_);
        }
    };
    editor_->OnExit = [this](TObject*) { PostMessageA(handle_, WM_APP + 0x3A1, 0, 0); };
    editor_->SelectAll();
    ::SetFocus(editor_->Handle());
}

void TStringGrid::HideEditor(bool accept) {
    if (!editor_ || endingEdit_) return;
    endingEdit_ = true;
    TEdit* e = editor_;
    editor_ = nullptr;
    std::string text = e->Text();
    e->OnExit = nullptr;
    e->Free();
    if (accept && text != Cells(col_, row_)) {
        SetCells(col_, row_, text);
        if (OnSetEditText) OnSetEditText(this, col_, row_, text);
    }
    endingEdit_ = false;
}

void TStringGrid::Paint() {
    HDC dc = canvas_.Handle();
    RECT cr = ClientRect();
    {
        TGdiObject<HBRUSH> bg(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc, &cr, bg.Get());
    }
    // The grid lines' pen stays selected across the cells, OnDrawCell
    // included, which may throw.
    TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow)));
    TSelection penSel(dc, pen.Get());
    for (int r = 0; r < rowCount_; ++r) {
        if (r >= fixedRows_ && r < topRow_) continue;
        for (int c = 0; c < colCount_; ++c) {
            RECT rc = CellRect(c, r);
            if (rc.top > cr.bottom) break;
            bool fixed = c < fixedCols_ || r < fixedRows_;
            bool selected = !fixed && r == row_ && (c == col_ || (options_ & goRowSelect));
            TGridDrawState st = (fixed ? TGridDrawState{gdFixed} : 0u) | (selected ? TGridDrawState{gdSelected} : 0u) |
                                (selected && c == col_ && Focused() ? TGridDrawState{gdFocused} : 0u);
            if (defaultDrawing_) {
                TColor back = fixed ? fixedColor_ : selected ? clHighlight : color_;
                {
                    TGdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(back)));
                    FillRect(dc, &rc, b.Get());
                }
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, ColorToRGB(selected ? clHighlightText : font_.Color()));
                {
                    TSelection fontSel(dc, font_.Handle());
                    RECT tr = rc;
                    tr.left += 2;
                    const std::string& s = cells_[static_cast<size_t>(r)][static_cast<size_t>(c)];
                    DrawTextA(dc, s.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
                }
                if (fixed) DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
            }
            if (OnDrawCell) {
                canvas_.Font()->Assign(&font_);
                OnDrawCell(this, c, r, rc, st);
            }
            bool lineV = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
            bool lineH = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
            if (lineV) {
                MoveToEx(dc, rc.right, rc.top, nullptr);
                LineTo(dc, rc.right, rc.bottom + 1);
            }
            if (lineH) {
                MoveToEx(dc, rc.left, rc.bottom, nullptr);
                LineTo(dc, rc.right + 1, rc.bottom);
            }
        }
    }
}

void TStringGrid::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN: {
            int c = 0, r = 0;
            if (MouseToCell(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), c, r)) {
                if (c == col_ && r == row_ && (options_ & goEditing))
                    ShowEditor();
                else
                    FocusCell(c, r);
            }
            if (handle_ && !editor_) ::SetFocus(handle_);
            break;
        }
        case WM_LBUTTONDBLCLK:
            ShowEditor();
            break;
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(m.WParam);
            if (OnKeyDown) OnKeyDown(this, key, KeyboardStateToShiftState());
            switch (key) {
                case VK_UP: FocusCell(col_, row_ - 1); break;
                case VK_DOWN: FocusCell(col_, row_ + 1); break;
                case VK_LEFT: FocusCell(col_ - 1, row_); break;
                case VK_RIGHT: FocusCell(col_ + 1, row_); break;
                case VK_F2:
                case VK_RETURN: ShowEditor(); break;
                default: break;
            }
            m.Result = 0;
            return;
        }
        case WM_CHAR:
            if ((options_ & goEditing) && m.WParam >= 32 && !editor_) {
                ShowEditor();
                if (editor_) {
                    editor_->SetText("");
                    SendMessageA(editor_->Handle(), WM_CHAR, m.WParam, m.LParam);
                }
                m.Result = 0;
                return;
            }
            break;
        case WM_APP + 0x3A1:
            HideEditor(true);
            return;
        case WM_VSCROLL: {
            int top = topRow_;
            switch (LOWORD(m.WParam)) {
                case SB_LINEUP: --top; break;
                case SB_LINEDOWN: ++top; break;
                case SB_PAGEUP: top -= VisibleRows(); break;
                case SB_PAGEDOWN: top += VisibleRows(); break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: top = fixedRows_ + HIWORD(m.WParam); break;
                default: break;
            }
            SetTopRow(top);
            m.Result = 0;
            return;
        }
        case WM_MOUSEWHEEL:
            SetTopRow(topRow_ + (GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? -1 : 1));
            m.Result = 0;
            return;
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        case WM_SIZE:
            TCustomControl::HandleMessage(m);
            UpdateScrollBar();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::HandleMessage(m);
}

}  // namespace kova
