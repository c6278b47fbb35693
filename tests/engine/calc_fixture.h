#pragma once
// Hand-made race cards for the calculation tests: rows with horse numbers and
// past runs written field by field.
#include <string>

#include "base/format.h"
#include "engine/calculation.h"
#include "engine/select_palette.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix::test {

struct RunFields {
    std::string date = "2009/01/01";
    std::string course = "中山";
    std::string track = "ダ";
    std::string distance = "1200";
    std::string going = "良";
    std::string condition = "500万";
    std::string placing = "03";
    std::string age = "04";
    std::string validity = "ON";
    double figure = 50;  // fields 19-21 and 24-28
    double rIndex = 50;  // field 29
    bool hasFigures = true;
};

// A cell's number, -999 for a cell without one.
inline double CellNumber(const Sheet& s, int row, ColNo col) {
    return s.number(RowNo(row), col).value_or(-999);
}

// A KONSYU race on 2009/01/17 at Nakayama; label "中山 ダ1200" unless given.
class CardBuilder {
public:
    explicit CardBuilder(int runners, const std::string& trackDistance = "ダ1200",
                         const std::string& course = "中山") {
        card.lblRace = "2009/01/17 " + course + " 01R 10:05 " + trackDistance + " テスト" +
                       std::string(80, ' ') + "2009011706010101";
        for (Sheet& s : card.sheets) s.setRowCount(runners);
        for (int r = 1; r <= runners; ++r)
            for (Sheet& s : card.sheets) s.setNumber(RowNo(r), card::kNo, r, std::to_string(r));
        card.pastRuns.reset(runners);
        card.RaceTrackCode = "24";
        card.RaceSyubetsuCode = "13";
        card.RaceJyokenCode = "005";
        SetSelect(palette, card.lblRace, "KONSYU");
        settings.Kikan = 600;
        settings.KyoriWeight = {10, 20, 30, 50, 30, 20, 10};
        settings.RaceLevel = 0.3;
        settings.RaceZenhan = 0.4;
        settings.RaceKouhan = 0.6;
        settings.Pace = 0.1;
    }

    // Appends a run to a runner (runs oldest first); returns its slot.
    int add(int runner, const RunFields& f) {
        int slot = card.pastRuns.slotCount(runner) + 1;
        auto put = [&](int field, std::string v) { card.pastRuns.at(runner, slot, field) = std::move(v); };
        put(run::kDate, f.date);
        put(run::kJyokenName, f.condition);
        put(run::kCourse, f.course);
        put(run::kTrack, f.track);
        put(run::kKyori, f.distance);
        put(run::kBaba, f.going);
        put(run::kJyuni, f.placing);
        put(run::kAge, f.age);
        put(run::kValidity, f.validity);
        if (f.hasFigures) {
            for (int field : {run::kRL, run::kRLZ, run::kRLA, run::kTZenhan, run::kTKouhan, run::kRZenhan,
                              run::kRKouhan, run::kMD})
                put(field, FormatNumber(f.figure, "##.0"));
            put(run::kPZenhan, "+0.0");
            put(run::kPKouhan, "+0.0");
            put(run::kRIndex, FormatNumber(f.rIndex, "##.0"));
        }
        return slot;
    }
    int add(int runner, std::string date, double rIndex) {
        RunFields f;
        f.date = std::move(date);
        f.rIndex = rIndex;
        f.figure = rIndex;
        return add(runner, f);
    }

    void calculateUmaIndex() { CalculateUmaIndex(card, palette, settings, "KONSYU"); }
    void calculate() { CalculateRace(card, palette, settings, conditions, "KONSYU"); }

    const std::string& useFlag(int runner, int slot) const {
        return card.pastRuns.at(runner, slot, run::kUseFlag);
    }
    const Sheet& s1() const { return card.sheet(kSheetSyuso); }
    const Sheet& s2() const { return card.sheet(kSheetKeibajo); }
    Sheet& s3() { return card.sheet(kSheetOdds); }

    RaceCard card;
    SelectPalette palette;
    Settings settings;
    Conditions conditions;
};

}  // namespace veltrix::test
