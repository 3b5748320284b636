#pragma once
#include <functional>
#include <vector>

#include "core/range.h"
#include "core/sheet_layout.h"
#include "platform/key_event.h"

namespace zt {

inline constexpr int kLastRow = 8191;
inline constexpr int kLastCol = 255;

// What a grid tells its owner.
struct GridEvents {
    std::function<void(int row, int col)> OnChange;  // the cell pointer moved
    std::function<void(int top)> OnChangeTop;        // the first visible row changed
    std::function<void()> Beep;
};

// The grid of a worksheet pane without its widget: the cell pointer, the
// selection and its anchor, scrolling, frozen titles and the movement keys.
// Sizes come from the worksheet's layout scaled by the zoom; the viewport is
// the cell area in pixels, headers excluded.
class GridState {
public:
    explicit GridState(const SheetLayout* layout = nullptr) : layout_(layout) {}

    void SetLayout(const SheetLayout* layout) { layout_ = layout; }
    void SetViewport(int width, int height);
    int ViewportWidth() const { return viewW_; }
    int ViewportHeight() const { return viewH_; }
    void SetZoom(int percent);
    int Zoom() const { return zoom_; }
    int ColumnPixels(int col) const;
    int RowPixels(int row) const;

    // Fully visible scrolling rows and columns; never negative.
    int Nrows() const;
    int Ncols() const;

    int Toprow() const { return top_; }
    int Leftcol() const { return left_; }
    void SetToprow(int row);
    void SetLeftcol(int col);

    int Row() const { return row_; }
    int Col() const { return col_; }
    TRange Selection() const { return sel_; }
    // The pointer's cell as a range of one cell.
    TRange CursorRange() const
    {
        return TRange{std::int16_t(col_), std::int16_t(row_), std::int16_t(col_), std::int16_t(row_)};
    }

    // Moves the pointer (extending the selection while anchored), scrolls it
    // into view and raises OnChange. Out-of-bounds targets are clamped with a beep.
    void GoToCell(int row, int col);
    // A click moves the pointer and drops any anchor set by Shift; a Shift
    // click or a drag extends the selection from the anchor.
    void ClickCell(int row, int col);
    void ExtendTo(int row, int col);
    // A movement key; true when the grid consumed it.
    bool MovementKey(const KeyEvent& key);

    // An anchor set by a command stays until released by a command; one set
    // by Shift goes with the next unshifted movement.
    void SetAnchor();
    void ReleaseAnchor();
    bool Anchored() const { return anchored_; }
    void CollapseSelection();
    void SetSelection(const TRange& r);  // the pointer stays where it is
    void SelectColumns(int first, int last);
    void SelectRows(int first, int last);

    // Frozen titles: bit 1 rows from the top row to row, bit 2 columns from
    // the left column to col; 0 clears them and scrolls back.
    void SetTitles(int mode, int row, int col);
    void SetTitles(int mode) { SetTitles(mode, row_, col_); }
    bool HasTitles() const { return fixRow2_ >= 0 || fixCol2_ >= 0; }
    int Fixrow1() const { return fixRow1_; }
    int Fixrow2() const { return fixRow2_; }
    int Fixcol1() const { return fixCol1_; }
    int Fixcol2() const { return fixCol2_; }

    int Pages() const { return pages_; }
    void SetPages(int pages);
    int BandRows() const { return (kLastRow + 1) / pages_; }

    bool IgCtrl = false;
    bool Select = true;
    bool PointerClick = false;  // every go-to beeps while on
    bool D3on = false;
    int Grid = 2;
    int Mid = 0;

    // Rows and columns on screen in drawing order: frozen titles first.
    std::vector<int> VisibleRows() const;
    std::vector<int> VisibleColumns() const;
    // The cell under a point of the cell area; false outside every cell.
    bool CellAt(int x, int y, int& row, int& col) const;
    // The pixel offset of a visible row or column inside the viewport; -1 when hidden.
    int RowTop(int row) const;
    int ColumnLeft(int col) const;

    // Scroll position, pointer, selection, titles and switches of another pane.
    void CopySettings(const GridState& other);

    GridEvents Events;

private:
    void Beep() const;
    void Changed();
    void ScrollIntoView();
    int MinRow() const { return fixRow1_ >= 0 && fixRow2_ >= 0 ? fixRow1_ : 0; }
    int MinCol() const { return fixCol1_ >= 0 && fixCol2_ >= 0 ? fixCol1_ : 0; }
    int FirstScrollRow() const { return fixRow2_ >= 0 ? fixRow2_ + 1 : 0; }
    int FirstScrollCol() const { return fixCol2_ >= 0 ? fixCol2_ + 1 : 0; }
    int TitleHeight() const;
    int TitleWidth() const;

    const SheetLayout* layout_;
    int viewW_ = 640;
    int viewH_ = 480;
    int zoom_ = 100;
    int top_ = 0;
    int left_ = 0;
    int row_ = 0;
    int col_ = 0;
    int anchorRow_ = 0;
    int anchorCol_ = 0;
    bool anchored_ = false;
    bool shiftAnchor_ = false;
    TRange sel_{0, 0, 0, 0};
    int fixRow1_ = -1, fixRow2_ = -1, fixCol1_ = -1, fixCol2_ = -1;
    int titleTop_ = 0, titleLeft_ = 0;  // where the titles were set, to scroll back
    int pages_ = 1;
};

}  // namespace zt
