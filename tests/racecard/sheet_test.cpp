#include "base/sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrix {
namespace {

std::vector<std::string> column(const Sheet& s, int col) {
    std::vector<std::string> out;
    for (int r = 1; r <= s.rowCount(); ++r) out.push_back(s.text(RowNo(r), ColNo(col)));
    return out;
}

// Column 1 names the row, column 2 is the key under test.
Sheet keyed(const std::vector<std::string>& names, const std::vector<std::string>& keys, bool numbers) {
    Sheet s(static_cast<int>(names.size()), 2);
    for (int r = 1; r <= s.rowCount(); ++r) {
        s.setText(RowNo(r), ColNo(1), names[r - 1]);
        const std::string& k = keys[r - 1];
        if (numbers && !k.empty() && k != "x")
            s.setNumber(RowNo(r), ColNo(2), std::stod(k), k);
        else
            s.setText(RowNo(r), ColNo(2), k);
    }
    return s;
}

TEST(Sheet, SortsNumbersNumericallyAndStably) {
    // "10" sorts after "9" only as a number; b and d tie and keep their order.
    Sheet s = keyed({"a", "b", "c", "d", "e", "f"}, {"10", "9", "", "9", "x", "-1.5"}, true);
    s.sortByColumn(ColNo(2), SortOrder::Ascending);
    EXPECT_EQ(column(s, 1), (std::vector<std::string>{"f", "b", "d", "a", "e", "c"}));
    s.sortByColumn(ColNo(2), SortOrder::Descending);
    // Text above numbers when descending; the empty cell stays last either way.
    EXPECT_EQ(column(s, 1), (std::vector<std::string>{"e", "a", "b", "d", "f", "c"}));
}

TEST(Sheet, SortsTextBytewise) {
    Sheet s = keyed({"a", "b", "c", "d"}, {"b", "B", "10", "9"}, false);
    s.sortByColumn(ColNo(2), SortOrder::Ascending);
    EXPECT_EQ(column(s, 2), (std::vector<std::string>{"10", "9", "B", "b"}));
}

TEST(Sheet, RowOrderMovesWholeRowsWithTheirFormats) {
    Sheet s = keyed({"a", "b", "c"}, {"3", "1", "2"}, true);
    s.setColors(RowNo(1), ColNo(1), kBlack, kWhite);
    s.setStrikeOut(RowNo(1), ColNo(1), true);
    s.setTopBorder(RowNo(2), ColNo(2), true);
    const Cell a = s.cell(RowNo(1), ColNo(1));

    auto order = s.sortByColumn(ColNo(2), SortOrder::Ascending);
    EXPECT_EQ(order, (std::vector<RowNo>{RowNo(2), RowNo(3), RowNo(1)}));
    EXPECT_EQ(s.cell(RowNo(3), ColNo(1)), a);
    EXPECT_TRUE(s.cell(RowNo(1), ColNo(2)).topBorder);

    // A second sheet in the same row order follows with the same permutation.
    Sheet other = keyed({"a", "b", "c"}, {"", "", ""}, false);
    ASSERT_TRUE(other.applyRowOrder(order));
    EXPECT_EQ(column(other, 1), column(s, 1));

    EXPECT_FALSE(other.applyRowOrder({RowNo(1), RowNo(1), RowNo(2)}));
    EXPECT_FALSE(other.applyRowOrder({RowNo(1), RowNo(2)}));
    EXPECT_FALSE(other.applyRowOrder({RowNo(1), RowNo(2), RowNo(4)}));
    EXPECT_EQ(column(other, 1), column(s, 1));
}

TEST(Sheet, ResizingKeepsCellsHeadersAndHiddenColumns) {
    Sheet s(2, 3);
    s.setHeader(ColNo(2), "No.");
    s.setColumnHidden(ColNo(3), true);
    s.setNumber(RowNo(2), ColNo(2), 7);
    EXPECT_EQ(s.text(RowNo(2), ColNo(2)), "7");
    s.setRowCount(5);
    s.setColCount(4);
    EXPECT_EQ(s.number(RowNo(2), ColNo(2)), 7.0);
    EXPECT_EQ(s.header(ColNo(2)), "No.");
    EXPECT_TRUE(s.isColumnHidden(ColNo(3)));
    EXPECT_FALSE(s.isColumnHidden(ColNo(4)));
    EXPECT_EQ(s.cell(RowNo(5), ColNo(4)), Cell{});
    s.setRowCount(1);
    EXPECT_EQ(s.rowCount(), 1);
    s.setText(RowNo(1), ColNo(2), "x");
    EXPECT_FALSE(s.number(RowNo(1), ColNo(2)));
}

TEST(Sheet, PositionsOutsideReadEmptyAndIgnoreWrites) {
    Sheet s(2, 2);
    s.setText(RowNo(3), ColNo(1), "x");
    s.setNumber(RowNo(1), ColNo(0), 5);
    s.setHeader(ColNo(3), "h");
    s.setColumnHidden(ColNo(-1), true);
    EXPECT_EQ(s.cell(RowNo(3), ColNo(1)), Cell{});
    EXPECT_EQ(s.header(ColNo(3)), "");
    EXPECT_FALSE(s.isColumnHidden(ColNo(-1)));
    EXPECT_EQ(s.revision(), 0u);  // nothing changed
    EXPECT_EQ(s.sortByColumn(ColNo(9), SortOrder::Ascending), (std::vector<RowNo>{RowNo(1), RowNo(2)}));
}

class CountingObserver : public SheetObserver {
public:
    int about = 0;
    int changed = 0;
    bool open = false;
    void sheetAboutToChange() override {
        EXPECT_FALSE(open);
        open = true;
        ++about;
    }
    void sheetChanged() override {
        EXPECT_TRUE(open);
        open = false;
        ++changed;
    }
};

TEST(Sheet, BatchesNotifyOncePerOutermostUpdate) {
    Sheet s(3, 3);
    CountingObserver obs;
    s.setObserver(&obs);
    {
        SheetUpdate batch(s);
        s.setRowCount(10);
        {
            SheetUpdate inner(s);
            s.setText(RowNo(10), ColNo(1), "a");
        }
        EXPECT_EQ(obs.changed, 0);
        s.sortByColumn(ColNo(1), SortOrder::Descending);
    }
    EXPECT_EQ(obs.about, 1);
    EXPECT_EQ(obs.changed, 1);
    EXPECT_EQ(s.revision(), 1u);

    { SheetUpdate idle(s); }  // nothing changed: no notification
    EXPECT_EQ(obs.about, 1);

    s.setText(RowNo(1), ColNo(1), "b");  // outside a batch: a batch of its own
    EXPECT_EQ(obs.changed, 2);
    EXPECT_EQ(s.revision(), 2u);

    Sheet copy = s;  // copies never take the observer
    copy.setText(RowNo(1), ColNo(1), "c");
    EXPECT_EQ(obs.changed, 2);
    s.setObserver(nullptr);
}

}  // namespace
}  // namespace veltrix
