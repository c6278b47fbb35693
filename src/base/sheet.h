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

struct Cell {
    std::string text;              // as displayed
    std::optional<double> number;  // set when the cell holds a number
    CellColor fore;
    CellColor back;
    bool strikeOut = false;
    bool topBorder = false;
    bool operator==(const Cell&) const = default;
};

enum class SortOrder { Ascending, Descending };

// Told when a sheet is about to change and when the change is complete; changes
// made between beginUpdate() and endUpdate() arrive as one notification pair.
class SheetObserver {
public:
    virtual ~SheetObserver() = default;
    virtual void sheetAboutToChange() = 0;
    virtual void sheetChanged() = 0;
};

class Sheet {
public:
    Sheet() = default;
    Sheet(int rows, int cols);
    // Copies take the contents, never the observer.
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
    void setTopBorder(RowNo row, ColNo col, bool on);

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

    void setObserver(SheetObserver* observer) { observer_ = observer; }

private:
    Cell* at(RowNo row, ColNo col);  // marks the sheet changed; null outside
    void touch();                    // before every change
    void finishChange();             // after every change made outside a batch

    int cols_ = 0;
    std::vector<std::vector<Cell>> rows_;
    std::vector<std::string> headers_;
    std::vector<bool> hidden_;
    int depth_ = 0;
    bool dirty_ = false;
    std::uint64_t revision_ = 0;
    SheetObserver* observer_ = nullptr;
};

// Batches every change of its lifetime: one notification pair for the lot.
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
