#pragma once
// The race on show: its codes, the three sheets of the race card grid, the past
// runs of its runners and the labels beside the grid.
#include <array>
#include <cassert>
#include <string>
#include <vector>

#include "base/sheet.h"

namespace veltrix {

inline constexpr int kPastRunSlots = 150;
inline constexpr int kPastRunFields = 32;

// runner row x run slot (1..150) x field (1..32), text. An empty field 2 marks
// the first unused slot.
class PastRuns {
public:
    void reset(int rows) {
        rows_ = rows > 0 ? rows : 0;
        cells_.assign(static_cast<size_t>(rows_) * kPastRunSlots * kPastRunFields, std::string());
    }
    int rows() const { return rows_; }
    std::string& at(int row, int slot, int field) { return cells_[index(row, slot, field)]; }
    const std::string& at(int row, int slot, int field) const { return cells_[index(row, slot, field)]; }
    // Number of filled slots of a row.
    int slotCount(int row) const {
        int n = 0;
        while (n < kPastRunSlots && !at(row, n + 1, 2).empty()) ++n;
        return n;
    }

private:
    size_t index(int row, int slot, int field) const {
        assert(row >= 1 && row <= rows_ && slot >= 1 && slot <= kPastRunSlots && field >= 1 &&
               field <= kPastRunFields);
        return (static_cast<size_t>(row - 1) * kPastRunSlots + static_cast<size_t>(slot - 1)) * kPastRunFields +
               static_cast<size_t>(field - 1);
    }
    int rows_ = 0;
    std::vector<std::string> cells_;
};

struct RaceCard {
    // Current race; all empty while no race is open.
    std::string RaceDate;          // YYYY/MM/DD
    std::string RaceSyubetsuCode;  // RaceInfo column 3
    std::string RaceJyokenCode;    // RaceInfo column 4
    std::string RaceTrackCode;     // RaceInfo column 5
    std::string HistoryUmaban;     // horse number of the runner whose past runs are shown
    std::string OddsUmaban;        // axis horse of the odds view

    // Caption of lblRace: the RaceLabel of the race on show, race id in its last 16 characters.
    std::string lblRace;

    // fpsSyuso: sheet 1 "出走表", 2 "競馬場", 3 "オッズ".
    std::array<Sheet, 3> sheets;
    Sheet& sheet(int n) { return sheets[static_cast<size_t>(n - 1)]; }
    const Sheet& sheet(int n) const { return sheets[static_cast<size_t>(n - 1)]; }

    PastRuns pastRuns;

    std::array<std::string, 4> lblRelateValue;  // race level, first-half pace, second-half pace, pace slope
    std::array<std::string, 3> lblScoreValue;   // popularity, data mining, own prediction score

    // UmaCode of the runner chosen last by its name cell.
    std::string lastUmaCode;
    // Whether the race load read the quick result (sheet 3 columns 14-16 shown).
    bool kekkaLoaded = false;

    RaceCard();
};

}  // namespace veltrix
