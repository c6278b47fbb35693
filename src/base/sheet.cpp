#include "base/sheet.h"

#include <algorithm>
#include <cassert>

#include "base/fields.h"

namespace veltrix {

Sheet::Sheet(int rows, int cols) {
    setColCount(cols);
    setRowCount(rows);
    dirty_ = false;
    revision_ = 0;
}

Sheet::Sheet(const Sheet& other)
    : cols_(other.cols_), rows_(other.rows_), headers_(other.headers_), hidden_(other.hidden_) {}

Sheet& Sheet::operator=(const Sheet& other) {
    if (this == &other) return *this;
    touch();
    cols_ = other.cols_;
    rows_ = other.rows_;
    headers_ = other.headers_;
    hidden_ = other.hidden_;
    finishChange();
    return *this;
}

void Sheet::touch() {
    if (dirty_) return;
    dirty_ = true;
    if (observer_) observer_->sheetAboutToChange();
}

void Sheet::finishChange() {
    if (depth_ > 0 || !dirty_) return;
    dirty_ = false;
    ++revision_;
    if (observer_) observer_->sheetChanged();
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
    touch();
    rows_.resize(static_cast<size_t>(rows), std::vector<Cell>(static_cast<size_t>(cols_)));
    finishChange();
}

void Sheet::setColCount(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) return;
    touch();
    cols_ = cols;
    for (auto& row : rows_) row.resize(static_cast<size_t>(cols));
    headers_.resize(static_cast<size_t>(cols));
    hidden_.resize(static_cast<size_t>(cols), false);
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
    touch();
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

void Sheet::setTopBorder(RowNo row, ColNo col, bool on) {
    if (Cell* c = at(row, col)) c->topBorder = on;
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
    if (!hasColumn(col)) return;
    touch();
    headers_[static_cast<size_t>(col.value - 1)] = std::move(text);
    finishChange();
}

bool Sheet::isColumnHidden(ColNo col) const {
    return hasColumn(col) && hidden_[static_cast<size_t>(col.value - 1)];
}

void Sheet::setColumnHidden(ColNo col, bool hidden) {
    if (!hasColumn(col)) return;
    touch();
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
    touch();
    std::vector<std::vector<Cell>> sorted;
    sorted.reserve(rows_.size());
    for (RowNo r : order) sorted.push_back(std::move(rows_[static_cast<size_t>(r.value - 1)]));
    rows_ = std::move(sorted);
    finishChange();
    return true;
}

}  // namespace veltrix
