#pragma once
// 1-based containers: the system numbers every row and column from 1, and so
// does the code, so that indices read the same as in the file layouts.
#include <cassert>
#include <span>
#include <string>
#include <vector>

namespace veltrix {

// A list indexed 1..size().
template <class T>
class Array1 {
public:
    Array1() = default;
    explicit Array1(int n) { resize(n); }
    void resize(int n) { items_.resize(n > 0 ? static_cast<size_t>(n) : 0); }
    void clear() { items_.clear(); }
    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    T& operator[](int i) {
        assert(i >= 1 && i <= size());
        return items_[static_cast<size_t>(i - 1)];
    }
    const T& operator[](int i) const {
        assert(i >= 1 && i <= size());
        return items_[static_cast<size_t>(i - 1)];
    }
    void push_back(T v) { items_.push_back(std::move(v)); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    std::vector<T>& raw() { return items_; }
    const std::vector<T>& raw() const { return items_; }
    bool operator==(const Array1&) const = default;

private:
    std::vector<T> items_;
};

// rows x cols text cells, at(row, col) 1-based.
class TextTable {
public:
    TextTable() = default;
    TextTable(int rows, int cols) { resize(rows, cols); }
    // Resizing keeps no contents: every cell becomes empty.
    void resize(int rows, int cols) {
        rows_ = rows > 0 ? rows : 0;
        cols_ = cols > 0 ? cols : 0;
        const size_t n = static_cast<size_t>(rows_) * static_cast<size_t>(cols_);
        // Clearing keeps each cell's storage, so refilling a table allocates little.
        for (size_t i = 0; i < n && i < cells_.size(); ++i) cells_[i].clear();
        cells_.resize(n);
    }
    // Grows or shrinks the row count keeping the existing rows.
    void resizeRows(int rows) {
        rows_ = rows > 0 ? rows : 0;
        cells_.resize(static_cast<size_t>(rows_) * static_cast<size_t>(cols_));
    }
    void clear() { resize(0, 0); }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    std::string& at(int row, int col) {
        assert(row >= 1 && row <= rows_ && col >= 1 && col <= cols_);
        return cells_[index(row, col)];
    }
    const std::string& at(int row, int col) const {
        assert(row >= 1 && row <= rows_ && col >= 1 && col <= cols_);
        return cells_[index(row, col)];
    }
    // The cells of a row, columns 1..cols() in order.
    std::span<const std::string> row(int row) const {
        assert(row >= 1 && row <= rows_);
        return {cells_.data() + index(row, 1), static_cast<size_t>(cols_)};
    }
    std::span<std::string> row(int row) {
        assert(row >= 1 && row <= rows_);
        return {cells_.data() + index(row, 1), static_cast<size_t>(cols_)};
    }
    bool operator==(const TextTable&) const = default;

private:
    size_t index(int row, int col) const {
        return static_cast<size_t>(row - 1) * static_cast<size_t>(cols_) + static_cast<size_t>(col - 1);
    }
    int rows_ = 0;
    int cols_ = 0;
    std::vector<std::string> cells_;
};

}  // namespace veltrix
