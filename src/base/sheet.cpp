#include "base/sheet.h"

#include <algorithm>
#include <cassert>

#include "base/fields.h"

namespace veltrix {

Sheet::Sheet(int rows, int cols) {
    setColCount(cols);
    setRowCount(rows);
    dirty_ = false;
    pending_ = {};
    revision_ = 0;
}

Sheet::Sheet(const Sheet& other)
    : cols_(other.cols_),
      rows_(other.rows_),
      headers_(other.headers_),
      hidden_(other.hidden_),
      columnAlign_(other.columnAlign_) {}

Sheet& Sheet::operator=(const Sheet& other) {
    if (this == &other) return *this;
    touchStructure();
    cols_ = other.cols_;
    rows_ = other.rows_;
    headers_ = other.headers_;
    hidden_ = other.hidden_;
    columnAlign_ = other.columnAlign_;
    finishChange();
    return *this;
}

void Sheet::addObserver(SheetObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Sheet::removeObserver(SheetObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

namespace {

// Tells each observer that is still attached when its turn comes: one may
// remove another (or itself) while being told.
template <class Call>
void tellObservers(const std::vector<SheetObserver*>& live, Call call) {
    const std::vector<SheetObserver*> snapshot = live;
    for (SheetObserver* o : snapshot)
        if (std::find(live.begin(), live.end(), o) != live.end()) call(*o);
}

}  // namespace

void Sheet::touchCells(RowNo row, ColNo col, RowNo lastRow, ColNo lastCol) {
    dirty_ = true;
    if (!pending_.cells) {
        pending_.cells = true;
        pending_.top = row;
        pending_.bottom = lastRow;
        pending_.left = col;
        pending_.right = lastCol;
        return;
    }
    pending_.top = std::min(pending_.top, row);
    pending_.bottom = std::max(pending_.bottom, lastRow);
    pending_.left = std::min(pending_.left, col);
    pending_.right = std::max(pending_.right, lastCol);
}

void Sheet::touchHeader(ColNo col) {
    dirty_ = true;
    if (!pending_.headers) {
        pending_.headers = true;
        pending_.firstHeader = pending_.lastHeader = col;
        return;
    }
    pending_.firstHeader = std::min(pending_.firstHeader, col);
    pending_.lastHeader = std::max(pending_.lastHeader, col);
}

void Sheet::touchStructure() {
    dirty_ = true;
    if (pending_.structure) return;
    pending_.structure = true;
    if (!observers_.empty())
        tellObservers(observers_, [](SheetObserver& o) { o.sheetStructureAboutToChange(); });
}

void Sheet::finishChange() {
    if (depth_ > 0 || !dirty_) return;
    // Reset before telling, so that an observer that writes to the sheet starts a batch of its own.
    const SheetChange change = pending_;
    pending_ = {};
    dirty_ = false;
    ++revision_;
    if (!observers_.empty())
        tellObservers(observers_, [&change](SheetObserver& o) { o.sheetChanged(change); });
}

void Sheet::beginUpdate() { ++depth_; }

void Sheet::endUpdate() {
    assert(depth_ > 0);
    if (depth_ > 0) --depth_;
    finishChange();
}

void Sheet::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows == rowCount()) return;
    touchStructure();
    rows_.resize(static_cast<size_t>(rows), std::vector<Cell>(static_cast<size_t>(cols_)));
    finishChange();
}

void Sheet::setColCount(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) return;
    touchStructure();
    cols_ = cols;
    for (auto& row : rows_) row.resize(static_cast<size_t>(cols));
    headers_.resize(static_cast<size_t>(cols));
    hidden_.resize(static_cast<size_t>(cols), false);
    columnAlign_.resize(static_cast<size_t>(cols), CellAlign::Auto);
    finishChange();
}

bool Sheet::contains(RowNo row, ColNo col) const {
    return row.value >= 1 && row.value <= rowCount() && hasColumn(col);
}

const Cell& Sheet::cell(RowNo row, ColNo col) const {
    static const Cell empty;
    if (!contains(row, col)) return empty;
    return rows_[static_cast<size_t>(row.value - 1)][static_cast<size_t>(col.value - 1)];
}

Cell* Sheet::at(RowNo row, ColNo col) {
    if (!contains(row, col)) return nullptr;
    touchCells(row, col, row, col);
    return &rows_[static_cast<size_t>(row.value - 1)][static_cast<size_t>(col.value - 1)];
}

void Sheet::setCell(RowNo row, ColNo col, Cell cell) {
    if (Cell* c = at(row, col)) *c = std::move(cell);
    finishChange();
}

void Sheet::setText(RowNo row, ColNo col, std::string text) {
    if (Cell* c = at(row, col)) {
        c->text = std::move(text);
        c->number.reset();
    }
    finishChange();
}

void Sheet::setNumber(RowNo row, ColNo col, double value) { setNumber(row, col, value, FormatReal(value)); }

void Sheet::setNumber(RowNo row, ColNo col, double value, std::string text) {
    if (Cell* c = at(row, col)) {
        c->text = std::move(text);
        c->number = value;
    }
    finishChange();
}

void Sheet::clearValue(RowNo row, ColNo col) {
    if (Cell* c = at(row, col)) {
        c->text.clear();
        c->number.reset();
    }
    finishChange();
}

void Sheet::setColors(RowNo row, ColNo col, CellColor fore, CellColor back) {
    if (Cell* c = at(row, col)) {
        c->fore = fore;
        c->back = back;
    }
    finishChange();
}

void Sheet::setStrikeOut(RowNo row, ColNo col, bool on) {
    if (Cell* c = at(row, col)) c->strikeOut = on;
    finishChange();
}

void Sheet::setTopBorder(RowNo row, ColNo col, bool on, CellColor color) {
    if (Cell* c = at(row, col)) {
        c->topBorder = on;
        c->borderColor = color;
    }
    finishChange();
}

void Sheet::setAlignment(RowNo row, ColNo col, CellAlign align) {
    if (Cell* c = at(row, col)) c->align = align;
    finishChange();
}

CellAlign Sheet::alignment(RowNo row, ColNo col) const {
    const Cell& c = cell(row, col);
    if (c.align != CellAlign::Auto) return c.align;
    const CellAlign column = columnAlignment(col);
    if (column != CellAlign::Auto) return column;
    return c.number ? CellAlign::Right : CellAlign::Left;
}

CellAlign Sheet::columnAlignment(ColNo col) const {
    return hasColumn(col) ? columnAlign_[static_cast<size_t>(col.value - 1)] : CellAlign::Auto;
}

void Sheet::setColumnAlignment(ColNo col, CellAlign align) {
    if (!hasColumn(col) || columnAlign_[static_cast<size_t>(col.value - 1)] == align) return;
    columnAlign_[static_cast<size_t>(col.value - 1)] = align;
    // Without rows nothing on show changes.
    if (rowCount() == 0) return;
    touchCells(RowNo(1), col, RowNo(rowCount()), col);
    finishChange();
}

RowNo Sheet::findRow(ColNo col, const std::string& text) const {
    for (int r = 1; r <= rowCount(); ++r)
        if (this->text(RowNo(r), col) == text) return RowNo(r);
    return RowNo(0);
}

const std::string& Sheet::header(ColNo col) const {
    static const std::string none;
    return hasColumn(col) ? headers_[static_cast<size_t>(col.value - 1)] : none;
}

void Sheet::setHeader(ColNo col, std::string text) {
    if (!hasColumn(col) || headers_[static_cast<size_t>(col.value - 1)] == text) return;
    touchHeader(col);
    headers_[static_cast<size_t>(col.value - 1)] = std::move(text);
    finishChange();
}

bool Sheet::isColumnHidden(ColNo col) const {
    return hasColumn(col) && hidden_[static_cast<size_t>(col.value - 1)];
}

void Sheet::setColumnHidden(ColNo col, bool hidden) {
    if (!hasColumn(col) || hidden_[static_cast<size_t>(col.value - 1)] == hidden) return;
    touchStructure();
    hidden_[static_cast<size_t>(col.value - 1)] = hidden;
    finishChange();
}

namespace {

// Sort classes: numbers, then text, then empty cells.
int sortClass(const Cell& c) {
    if (c.number) return 0;
    return c.text.empty() ? 2 : 1;
}

}  // namespace

std::vector<RowNo> Sheet::sortedOrder(ColNo col, SortOrder order) const {
    std::vector<RowNo> rows;
    rows.reserve(rows_.size());
    for (int r = 1; r <= rowCount(); ++r) rows.emplace_back(r);
    const bool descending = order == SortOrder::Descending;
    // "a before b" for ascending order; descending reverses it for filled cells
    // only, so empty cells stay below the values either way.
    auto before = [&](RowNo ra, RowNo rb) {
        const Cell& a = cell(ra, col);
        const Cell& b = cell(rb, col);
        int ca = sortClass(a), cb = sortClass(b);
        if (ca == 2 || cb == 2) return ca < cb;
        if (descending) std::swap(ca, cb);
        if (ca != cb) return ca < cb;
        if (ca == 0) return descending ? *b.number < *a.number : *a.number < *b.number;
        return descending ? b.text < a.text : a.text < b.text;
    };
    if (hasColumn(col)) std::stable_sort(rows.begin(), rows.end(), before);
    return rows;
}

std::vector<RowNo> Sheet::sortByColumn(ColNo col, SortOrder order) {
    auto rows = sortedOrder(col, order);
    applyRowOrder(rows);
    return rows;
}

bool Sheet::applyRowOrder(const std::vector<RowNo>& order) {
    if (static_cast<int>(order.size()) != rowCount()) return false;
    std::vector<bool> seen(order.size(), false);
    for (RowNo r : order) {
        if (r.value < 1 || r.value > rowCount() || seen[static_cast<size_t>(r.value - 1)]) return false;
        seen[static_cast<size_t>(r.value - 1)] = true;
    }
    touchStructure();
    std::vector<std::vector<Cell>> sorted;
    sorted.reserve(rows_.size());
    for (RowNo r : order) sorted.push_back(std::move(rows_[static_cast<size_t>(r.value - 1)]));
    rows_ = std::move(sorted);
    finishChange();
    return true;
}

}  // namespace veltrix
