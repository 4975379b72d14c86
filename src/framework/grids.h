// A string grid: fixed rows and columns, editable cells (an edit over the
// cell), owner drawing through OnDrawCell, vertical scrolling by rows.
#pragma once

#include "framework/controls.h"
#include "framework/stdctrls.h"

#include <string>
#include <vector>

namespace kova {

enum TGridOption : std::uint32_t {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
    goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11,
    goRowSelect = 1u << 12, goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14
};
using TGridOptions = std::uint32_t;
enum TGridDrawStateFlag : std::uint32_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = std::uint32_t;

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, RECT Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

class TStringGrid : public TCustomControl {
    KOVA_CLASS_PROPS(TStringGrid, TCustomControl)
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int n);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);
    int DefaultColWidth() const { return defColWidth_; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return defRowHeight_; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int c) const;
    void SetColWidths(int c, int w);
    int RowHeights(int r) const;
    void SetRowHeights(int r, int h);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v) { defaultDrawing_ = v; Invalidate(); }
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c) { fixedColor_ = c; Invalidate(); }

    // Out-of-range cells read as "" and are not written.
    std::string Cells(int c, int r) const;
    void SetCells(int c, int r, const std::string& s);
    int Col() const { return col_; }
    void SetCol(int c) { FocusCell(c, row_); }
    int Row() const { return row_; }
    void SetRow(int r) { FocusCell(col_, r); }
    int TopRow() const { return topRow_; }
    void SetTopRow(int r);
    RECT CellRect(int c, int r) const;
    // Cell under a client point; false outside every cell.
    bool MouseToCell(int x, int y, int& c, int& r) const;
    bool EditorMode() const { return editor_ != nullptr; }
    void ShowEditor();
    // Ends editing; with accept, the text goes into the cell.
    void HideEditor(bool accept = true);

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;

protected:
    void CreateParams(TCreateParams& p) override;
    void Paint() override;
    void HandleMessage(TMessage& m) override;
    bool WantsBackgroundErase() const override { return false; }

private:
    static void DefineProps(TPropList& L);
    void FocusCell(int c, int r);
    void ResizeCells();
    void UpdateScrollBar();
    int VisibleRows() const;
    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int defColWidth_ = 64, defRowHeight_ = 24;
    std::vector<int> colWidths_, rowHeights_;
    std::vector<std::vector<std::string>> cells_;  // [row][col]
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    bool defaultDrawing_ = true;
    TColor fixedColor_ = clBtnFace;
    int col_ = 1, row_ = 1, topRow_ = 1;
    TEdit* editor_ = nullptr;
    bool endingEdit_ = false;
};

}  // namespace kova
