#pragma once
// A grid as a core model: rows x columns of cells (1-based), column headers,
// hidden columns, sorting. Every grid of the system is a Sheet; windows only
// render it, so the routines that fill grids are tested without a window.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrix {

// 1-based row and column numbers as distinct types, so they cannot be swapped.
template <class Tag>
struct SheetIndex {
    int value = 0;
    constexpr SheetIndex() = default;
    constexpr explicit SheetIndex(int v) : value(v) {}
    constexpr auto operator<=>(const SheetIndex&) const = default;
};
using RowNo = SheetIndex<struct RowTag>;
using ColNo = SheetIndex<struct ColTag>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const Rgb&) const = default;
};
// A cell colour; nullopt is the view's default.
using CellColor = std::optional<Rgb>;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// Horizontal placement of a cell's text. Auto: numbers right, text left.
enum class CellAlign : std::uint8_t { Auto, Left, Center, Right };

struct Cell {
    std::string text;              // as displayed
    std::optional<double> number;  // set when the cell holds a number
    CellColor fore;
    CellColor back;
    bool strikeOut = false;
    bool topBorder = false;
    CellColor borderColor;              // of the top border; the text colour when unset
    CellAlign align = CellAlign::Auto;  // Auto: the column's alignment
    bool operator==(const Cell&) const = default;
};

enum class SortOrder { Ascending, Descending };

// What one batch changed. Cells: text, number, colours, marks or alignment of
// the cells within [top..bottom] x [left..right] (the bounding range of every
// touched cell). Headers: the header texts of columns first..last. Structure:
// row or column count, row order, hidden columns or the whole sheet; a view
// must re-read everything, and the ranges mean nothing.
struct SheetChange {
    bool cells = false;
    bool headers = false;
    bool structure = false;
    RowNo top, bottom;
    ColNo left, right;
    ColNo firstHeader, lastHeader;
};

// Hears a sheet's batches. Changes made between beginUpdate() and endUpdate()
// arrive as one sheetChanged() at the outermost end; a change outside a batch is
// a batch of its own.
class SheetObserver {
public:
    virtual ~SheetObserver() = default;
    // Before the first structural change of a batch, while the sheet still has
    // its old shape (a view starts its reset here).
    virtual void sheetStructureAboutToChange() {}
    virtual void sheetChanged(const SheetChange& change) = 0;
};

class Sheet {
public:
    Sheet() = default;
    Sheet(int rows, int cols);
    // Copies take the contents, never the observers; assigning is a structural
    // change of the target.
    Sheet(const Sheet& other);
    Sheet& operator=(const Sheet& other);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int colCount() const { return cols_; }
    // Growing adds empty rows or columns; shrinking drops the last ones.
    void setRowCount(int rows);
    void setColCount(int cols);

    // Positions outside the sheet read as an empty cell; writes to them are
    // ignored, so a routine that walks past the last row cannot corrupt memory.
    bool contains(RowNo row, ColNo col) const;
    bool hasColumn(ColNo col) const { return col.value >= 1 && col.value <= cols_; }
    const Cell& cell(RowNo row, ColNo col) const;
    void setCell(RowNo row, ColNo col, Cell cell);
    const std::string& text(RowNo row, ColNo col) const { return cell(row, col).text; }
    std::optional<double> number(RowNo row, ColNo col) const { return cell(row, col).number; }

    // Text only: the cell no longer holds a number.
    void setText(RowNo row, ColNo col, std::string text);
    // A number shown as text (FormatReal of the value when no text is given).
    void setNumber(RowNo row, ColNo col, double value);
    void setNumber(RowNo row, ColNo col, double value, std::string text);
    // Empties text and number; colours and marks stay.
    void clearValue(RowNo row, ColNo col);
    void setColors(RowNo row, ColNo col, CellColor fore, CellColor back);
    void setStrikeOut(RowNo row, ColNo col, bool on);
    void setTopBorder(RowNo row, ColNo col, bool on, CellColor color = std::nullopt);
    void setAlignment(RowNo row, ColNo col, CellAlign align);
    // The cell's own alignment, else its column's, else right for a number and
    // left for text; never Auto.
    CellAlign alignment(RowNo row, ColNo col) const;
    // Every cell of the column whose own alignment is Auto (a cell change of the
    // whole column).
    CellAlign columnAlignment(ColNo col) const;
    void setColumnAlignment(ColNo col, CellAlign align);

    // Setting a header or hidden flag to the value it has is no change.
    const std::string& header(ColNo col) const;
    void setHeader(ColNo col, std::string text);
    // The first row whose cell in col reads text; RowNo(0) when none does.
    RowNo findRow(ColNo col, const std::string& text) const;
    bool isColumnHidden(ColNo col) const;
    void setColumnHidden(ColNo col, bool hidden);

    // The row order sorting by col would give: element r-1 is the current row
    // that becomes row r (the current order for a column outside). Stable. Numbers compare numerically and
    // come before text, text compares bytewise; empty cells stay at the end in either order.
    std::vector<RowNo> sortedOrder(ColNo col, SortOrder order) const;
    // Sorts all rows by col and returns the order applied.
    std::vector<RowNo> sortByColumn(ColNo col, SortOrder order);
    // Reorders the rows: row r becomes the current row order[r-1]. False (and
    // nothing changes) unless order is a permutation of 1..rowCount().
    bool applyRowOrder(const std::vector<RowNo>& order);

    // Batches: observers hear of the changes once, at the outermost endUpdate().
    void beginUpdate();
    void endUpdate();
    // Counts completed batches with changes (a change outside a batch is a batch).
    std::uint64_t revision() const { return revision_; }

    // Observers are not owned and must remove themselves before they go; one
    // added twice hears each batch once. An observer may add or remove observers
    // (itself included) while it is being told of a batch.
    void addObserver(SheetObserver* observer);
    void removeObserver(SheetObserver* observer);

private:
    Cell* at(RowNo row, ColNo col);  // records the cell as changed; null outside
    void touchCells(RowNo row, ColNo col, RowNo lastRow, ColNo lastCol);
    void touchHeader(ColNo col);
    void touchStructure();
    void finishChange();  // after every change; notifies unless a batch is open

    int cols_ = 0;
    std::vector<std::vector<Cell>> rows_;
    std::vector<std::string> headers_;
    std::vector<bool> hidden_;
    std::vector<CellAlign> columnAlign_;
    int depth_ = 0;
    bool dirty_ = false;
    SheetChange pending_;
    std::uint64_t revision_ = 0;
    std::vector<SheetObserver*> observers_;
};

// Batches every change of its lifetime: one notification for the lot.
class SheetUpdate {
public:
    explicit SheetUpdate(Sheet& sheet) : sheet_(sheet) { sheet_.beginUpdate(); }
    ~SheetUpdate() { sheet_.endUpdate(); }
    SheetUpdate(const SheetUpdate&) = delete;
    SheetUpdate& operator=(const SheetUpdate&) = delete;

private:
    Sheet& sheet_;
};

}  // namespace veltrix
