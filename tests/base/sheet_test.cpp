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

// Records every notification; checks that a structural batch is announced once,
// before the sheet changes shape, and closed by a structural change.
class RecordingObserver : public SheetObserver {
public:
    explicit RecordingObserver(const Sheet* sheet = nullptr) : sheet_(sheet) {}
    int about = 0;
    int rowsWhenAnnounced = -1;
    bool open = false;
    std::vector<SheetChange> changes;
    void sheetStructureAboutToChange() override {
        EXPECT_FALSE(open);
        open = true;
        ++about;
        if (sheet_) rowsWhenAnnounced = sheet_->rowCount();
    }
    void sheetChanged(const SheetChange& change) override {
        EXPECT_EQ(open, change.structure);
        open = false;
        changes.push_back(change);
    }

private:
    const Sheet* sheet_;
};

TEST(Sheet, BatchesNotifyOncePerOutermostUpdate) {
    Sheet s(3, 3);
    RecordingObserver obs(&s);
    s.addObserver(&obs);
    {
        SheetUpdate batch(s);
        s.setText(RowNo(1), ColNo(1), "x");
        s.setRowCount(10);
        EXPECT_EQ(obs.rowsWhenAnnounced, 3);  // announced before the shape changed
        {
            SheetUpdate inner(s);
            s.setText(RowNo(10), ColNo(1), "a");
        }
        EXPECT_TRUE(obs.changes.empty());
        s.sortByColumn(ColNo(1), SortOrder::Descending);
    }
    EXPECT_EQ(obs.about, 1);
    ASSERT_EQ(obs.changes.size(), 1u);
    EXPECT_TRUE(obs.changes[0].structure);
    EXPECT_EQ(s.revision(), 1u);

    { SheetUpdate idle(s); }  // nothing changed: no notification
    EXPECT_EQ(obs.changes.size(), 1u);

    s.setText(RowNo(1), ColNo(1), "b");  // outside a batch: a batch of its own
    ASSERT_EQ(obs.changes.size(), 2u);
    EXPECT_FALSE(obs.changes[1].structure);
    EXPECT_EQ(obs.about, 1);
    EXPECT_EQ(s.revision(), 2u);

    Sheet copy = s;  // copies never take the observers
    copy.setText(RowNo(1), ColNo(1), "c");
    EXPECT_EQ(obs.changes.size(), 2u);
    // Assigning replaces the whole sheet: a structural change of the target only.
    s = copy;
    ASSERT_EQ(obs.changes.size(), 3u);
    EXPECT_TRUE(obs.changes[2].structure);
    EXPECT_EQ(s.text(RowNo(1), ColNo(1)), "c");
    s.removeObserver(&obs);
    s.setText(RowNo(1), ColNo(1), "d");
    EXPECT_EQ(obs.changes.size(), 3u);
}

TEST(Sheet, CellBatchesCarryTheBoundingRangeOfTouchedCells) {
    Sheet s(8, 6);
    RecordingObserver obs;
    s.addObserver(&obs);
    {
        SheetUpdate batch(s);
        s.setText(RowNo(2), ColNo(3), "a");
        s.setColors(RowNo(5), ColNo(1), kBlack, kWhite);
        s.setStrikeOut(RowNo(4), ColNo(4), true);
        s.setText(RowNo(9), ColNo(6), "outside");  // ignored: no wider range
        s.setNumber(RowNo(3), ColNo(7), 1);
    }
    EXPECT_EQ(obs.about, 0);
    ASSERT_EQ(obs.changes.size(), 1u);
    const SheetChange& c = obs.changes[0];
    EXPECT_TRUE(c.cells);
    EXPECT_FALSE(c.structure);
    EXPECT_FALSE(c.headers);
    EXPECT_EQ(c.top, RowNo(2));
    EXPECT_EQ(c.bottom, RowNo(5));
    EXPECT_EQ(c.left, ColNo(1));
    EXPECT_EQ(c.right, ColNo(4));

    // The next batch starts a new range; every cell setter counts.
    s.setTopBorder(RowNo(8), ColNo(6), true);
    s.clearValue(RowNo(7), ColNo(2));
    s.setCell(RowNo(1), ColNo(1), Cell{});
    s.setAlignment(RowNo(6), ColNo(5), CellAlign::Center);
    ASSERT_EQ(obs.changes.size(), 5u);
    EXPECT_EQ(obs.changes[1].top, RowNo(8));
    EXPECT_EQ(obs.changes[1].left, ColNo(6));
    EXPECT_EQ(obs.changes[2].bottom, RowNo(7));
    EXPECT_EQ(obs.changes[3].right, ColNo(1));
    EXPECT_EQ(obs.changes[4].top, RowNo(6));
    for (const SheetChange& k : obs.changes) EXPECT_TRUE(k.cells && !k.structure);
    s.removeObserver(&obs);
}

TEST(Sheet, ShapeOrderAndHiddenColumnsAreStructuralHeadersAreNot) {
    Sheet s(3, 3);
    s.setNumber(RowNo(1), ColNo(1), 3);
    s.setNumber(RowNo(2), ColNo(1), 1);
    RecordingObserver obs(&s);
    s.addObserver(&obs);
    s.setRowCount(4);
    s.setColCount(5);
    s.sortByColumn(ColNo(1), SortOrder::Ascending);
    s.applyRowOrder({RowNo(4), RowNo(3), RowNo(2), RowNo(1)});
    s.setColumnHidden(ColNo(2), true);
    ASSERT_EQ(obs.changes.size(), 5u);
    for (const SheetChange& c : obs.changes) EXPECT_TRUE(c.structure);
    EXPECT_EQ(obs.about, 5);

    obs.changes.clear();
    {
        SheetUpdate batch(s);
        s.setHeader(ColNo(4), "No.");
        s.setHeader(ColNo(2), "馬名");
    }
    ASSERT_EQ(obs.changes.size(), 1u);
    EXPECT_TRUE(obs.changes[0].headers);
    EXPECT_FALSE(obs.changes[0].structure);
    EXPECT_FALSE(obs.changes[0].cells);
    EXPECT_EQ(obs.changes[0].firstHeader, ColNo(2));
    EXPECT_EQ(obs.changes[0].lastHeader, ColNo(4));

    // Setting what is already there changes nothing, so a view need not reset.
    const auto revision = s.revision();
    s.setHeader(ColNo(4), "No.");
    s.setColumnHidden(ColNo(2), true);
    s.setColumnHidden(ColNo(3), false);
    s.setRowCount(4);
    EXPECT_EQ(obs.changes.size(), 1u);
    EXPECT_EQ(s.revision(), revision);
    EXPECT_EQ(obs.about, 5);
    s.removeObserver(&obs);
}

// Removes another observer (or itself) when told of a batch.
class RemovingObserver : public SheetObserver {
public:
    RemovingObserver(Sheet& sheet, SheetObserver* victim) : victim(victim), sheet_(sheet) {}
    SheetObserver* victim;
    int heard = 0;
    void sheetChanged(const SheetChange&) override {
        ++heard;
        sheet_.removeObserver(victim);
    }

private:
    Sheet& sheet_;
};

TEST(Sheet, EveryAttachedObserverHearsEachBatchOnce) {
    Sheet s(2, 2);
    RecordingObserver a, b;
    s.addObserver(&a);
    s.addObserver(&b);
    s.addObserver(&a);  // twice: still told once
    s.addObserver(nullptr);
    s.setText(RowNo(1), ColNo(1), "x");
    EXPECT_EQ(a.changes.size(), 1u);
    EXPECT_EQ(b.changes.size(), 1u);

    // An observer that detaches the next one while it is told: the detached one is not told.
    RecordingObserver c;
    Sheet t(2, 2);
    RemovingObserver remover(t, &c);
    t.addObserver(&remover);
    t.addObserver(&c);
    t.setText(RowNo(1), ColNo(1), "x");
    EXPECT_EQ(remover.heard, 1);
    EXPECT_TRUE(c.changes.empty());
    t.removeObserver(&remover);

    // One that detaches itself hears this batch and no later one.
    RemovingObserver self(s, nullptr);
    self.victim = &self;
    s.addObserver(&self);
    s.setText(RowNo(2), ColNo(2), "y");
    s.setText(RowNo(2), ColNo(2), "z");
    EXPECT_EQ(self.heard, 1);
    EXPECT_EQ(a.changes.size(), 3u);
    s.removeObserver(&a);
    s.removeObserver(&b);
}

// Writes into the sheet when told of a batch: its write is a batch of its own.
class WritingObserver : public SheetObserver {
public:
    explicit WritingObserver(Sheet& sheet) : sheet_(sheet) {}
    std::vector<SheetChange> changes;
    void sheetChanged(const SheetChange& change) override {
        changes.push_back(change);
        if (changes.size() == 1) sheet_.setText(RowNo(2), ColNo(2), "echo");
    }

private:
    Sheet& sheet_;
};

TEST(Sheet, AnObserverThatWritesStartsANewBatch) {
    Sheet s(2, 2);
    WritingObserver w(s);
    s.addObserver(&w);
    s.setRowCount(3);
    ASSERT_EQ(w.changes.size(), 2u);
    EXPECT_TRUE(w.changes[0].structure);
    EXPECT_TRUE(w.changes[1].cells);
    EXPECT_FALSE(w.changes[1].structure);
    EXPECT_EQ(w.changes[1].top, RowNo(2));
    EXPECT_EQ(s.revision(), 2u);
    s.removeObserver(&w);
}

TEST(Sheet, AlignmentFromCellColumnOrContent) {
    Sheet s(2, 3);
    s.setNumber(RowNo(1), ColNo(1), 57, "57.0K");
    s.setText(RowNo(2), ColNo(1), "ｾﾝ");
    EXPECT_EQ(s.alignment(RowNo(1), ColNo(1)), CellAlign::Right);  // numbers right
    EXPECT_EQ(s.alignment(RowNo(2), ColNo(1)), CellAlign::Left);   // text left
    EXPECT_EQ(s.alignment(RowNo(2), ColNo(2)), CellAlign::Left);   // empty
    EXPECT_EQ(s.alignment(RowNo(9), ColNo(9)), CellAlign::Left);   // outside

    RecordingObserver obs;
    s.addObserver(&obs);
    s.setColumnAlignment(ColNo(1), CellAlign::Center);
    EXPECT_EQ(s.alignment(RowNo(1), ColNo(1)), CellAlign::Center);
    EXPECT_EQ(s.alignment(RowNo(2), ColNo(1)), CellAlign::Center);
    // A column's alignment is a cell change over the whole column.
    ASSERT_EQ(obs.changes.size(), 1u);
    EXPECT_TRUE(obs.changes[0].cells && !obs.changes[0].structure);
    EXPECT_EQ(obs.changes[0].top, RowNo(1));
    EXPECT_EQ(obs.changes[0].bottom, RowNo(2));
    EXPECT_EQ(obs.changes[0].left, ColNo(1));
    EXPECT_EQ(obs.changes[0].right, ColNo(1));
    s.setColumnAlignment(ColNo(1), CellAlign::Center);  // unchanged
    s.setColumnAlignment(ColNo(4), CellAlign::Right);   // outside
    EXPECT_EQ(obs.changes.size(), 1u);

    // The cell's own alignment wins; setText keeps it, as it keeps colours.
    s.setAlignment(RowNo(2), ColNo(1), CellAlign::Right);
    s.setText(RowNo(2), ColNo(1), "牡");
    EXPECT_EQ(s.alignment(RowNo(2), ColNo(1)), CellAlign::Right);
    s.setAlignment(RowNo(2), ColNo(1), CellAlign::Auto);
    EXPECT_EQ(s.alignment(RowNo(2), ColNo(1)), CellAlign::Center);

    // Rows added later, copies and sorting keep the column's alignment.
    s.setRowCount(3);
    EXPECT_EQ(s.alignment(RowNo(3), ColNo(1)), CellAlign::Center);
    Sheet copy = s;
    EXPECT_EQ(copy.columnAlignment(ColNo(1)), CellAlign::Center);
    s.setColCount(1);
    s.setColCount(3);
    EXPECT_EQ(s.columnAlignment(ColNo(1)), CellAlign::Center);
    EXPECT_EQ(s.columnAlignment(ColNo(3)), CellAlign::Auto);

    // Without rows there is nothing on show to change.
    Sheet empty(0, 2);
    RecordingObserver quiet;
    empty.addObserver(&quiet);
    empty.setColumnAlignment(ColNo(2), CellAlign::Right);
    EXPECT_TRUE(quiet.changes.empty());
    empty.setRowCount(1);
    EXPECT_EQ(empty.alignment(RowNo(1), ColNo(2)), CellAlign::Right);
    empty.removeObserver(&quiet);
    s.removeObserver(&obs);
}

}  // namespace
}  // namespace veltrix
