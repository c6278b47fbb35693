// The tuning window's rules: reading its masked fields, filling them from the
// parameters, applying them (and rebuilding the race), and saving "TuneInfo"
// key by key without ever leaving a damaged settings file.
#include "engine/tuning.h"

#include <gtest/gtest.h>

#include "../racecard/race_fixture.h"
#include "app/calculate_command.h"
#include "app/race_commands.h"
#include "app/tuning_command.h"
#include "base/encoding.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

TEST(TuningFields, DigitsNotTypedCountAsZerosAtTheEnd) {
    EXPECT_EQ(ReadWeightField("1"), 1.00);
    EXPECT_EQ(ReadWeightField("15"), 1.50);
    EXPECT_EQ(ReadWeightField("105"), 1.05);
    EXPECT_EQ(ReadWeightField("1.05"), 1.05);
    EXPECT_EQ(ReadWeightField("0.30"), 0.30);
    EXPECT_EQ(ReadWeightField("1."), 1.00);
    EXPECT_EQ(ReadWeightField("1.__"), 1.00);
    EXPECT_EQ(ReadWeightField(" . "), 0.0);
    EXPECT_EQ(ReadWeightField(""), 0.0);
    EXPECT_EQ(ReadWeightField("9.99"), 9.99);
    // A blank between typed digits is a digit not typed.
    EXPECT_EQ(ReadWeightField("1._5"), 1.05);

    EXPECT_EQ(ReadKyoriField("1"), 10);
    EXPECT_EQ(ReadKyoriField("15"), 15);
    EXPECT_EQ(ReadKyoriField("1.5"), 15);
    EXPECT_EQ(ReadKyoriField("0.5"), 5);
    EXPECT_EQ(ReadKyoriField("9.9"), 99);
    EXPECT_EQ(ReadKyoriField(""), 0);

    EXPECT_FALSE(ReadWeightField("a.00"));
    EXPECT_FALSE(ReadWeightField("-1.0"));
    EXPECT_FALSE(ReadWeightField("1.234"));
    EXPECT_FALSE(ReadKyoriField("1.05"));
}

TEST(TuningFields, LoadShowsTheParametersAndInitTheDefaults) {
    Settings s = DefaultTuning();
    s.RaceLevel = 1.25;
    s.KyoriWeight[3] = 45;
    s.Kikan = 300;
    TuningFields f = TuningFieldsOf(s);
    EXPECT_EQ(f.weights[kTuneRaceLevel], "1.25");
    EXPECT_EQ(f.weights[kTunePace], "0.10");
    EXPECT_EQ(f.weights[kTuneCombi], "0.00");
    EXPECT_EQ(f.kyori[0], "1.0");
    EXPECT_EQ(f.kyori[3], "4.5");
    EXPECT_EQ(f.cboKikan, 2);

    TuningFields d = DefaultTuningFields();
    EXPECT_EQ(d.weights[kTuneRaceLevel], "0.30");
    EXPECT_EQ(d.weights[kTuneRaceZenhan], "0.40");
    EXPECT_EQ(d.weights[kTuneRaceKouhan], "0.60");
    EXPECT_EQ(d.kyori, (std::array<std::string, 7>{"1.0", "2.0", "3.0", "5.0", "3.0", "2.0", "1.0"}));
    EXPECT_EQ(d.cboKikan, 5);  // "600日"
}

TEST(TuningFields, ApplyingSetsEveryParameterAnEmptyFieldTo0) {
    Settings s = DefaultTuning();
    TuningFields f = DefaultTuningFields();
    f.weights[kTuneRaceLevel] = "";
    f.weights[kTuneTimeZenhan] = "15";
    f.weights[kTuneKisyu] = "105";
    f.kyori[6] = "1";
    f.kyori[0] = "";
    f.cboKikan = 0;
    ASSERT_FALSE(ApplyTuning(s, f));
    EXPECT_EQ(s.RaceLevel, 0.0);
    EXPECT_EQ(s.TimeZenhan, 1.5);
    EXPECT_EQ(s.Kisyu, 1.05);
    EXPECT_EQ(s.RaceKouhan, 0.6);
    EXPECT_EQ(s.Kikan, 100);
    EXPECT_EQ(s.KyoriWeight, (std::array<double, 7>{0, 20, 30, 50, 30, 20, 10}));

    f.cboKikan = -1;
    ASSERT_FALSE(ApplyTuning(s, f));
    EXPECT_EQ(s.Kikan, 600);

    // A field that cannot be read stops there; the ones before keep their new values.
    f.weights[kTuneTimeZenhan] = "2";
    f.weights[kTuneTimeKouhan] = "x";
    f.weights[kTuneRaceZenhan] = "9";
    EXPECT_TRUE(ApplyTuning(s, f));
    EXPECT_EQ(s.TimeZenhan, 2.0);
    EXPECT_EQ(s.RaceZenhan, 0.4);
}

TEST(TuningFields, SavedKeysInTheirOrderAndFormats) {
    TuningFields f = DefaultTuningFields();
    f.weights[kTuneRaceMd] = "";
    f.weights[kTuneChokyo] = "15";
    f.kyori[2] = "0.5";
    f.cboKikan = 0;
    std::vector<TuneKey> keys;
    ASSERT_FALSE(TuningKeys(f, true, keys));
    std::string text;
    for (const TuneKey& k : keys) text += k.key + "=" + k.value + "\n";
    EXPECT_EQ(text,
              "AutoTuning=1\nRaceLevel=0.30\nTimeZenhan=0.00\nTimeKouhan=0.00\nRaceZenhan=0.40\n"
              "RaceKouhan=0.60\nRaceMd=0.00\nPace=0.10\nKikan=100\nKisyu=0.00\nChokyo=1.50\nCombi=0.00\n"
              "KyoriWeight=10200550302010\n");
    f.cboKikan = -1;
    ASSERT_FALSE(TuningKeys(f, false, keys));
    EXPECT_EQ(keys[0].value, "0");
    EXPECT_EQ(keys[8].key, "Kikan");
    EXPECT_EQ(keys[8].value, "600");
}

class TuningSave : public ::testing::Test {
protected:
    std::filesystem::path file() const { return dir.path() / kSettingsFileName; }
    std::string bytes() const { return ReadFileBytes(file()).value_or("<missing>"); }
    test::TempDir dir;
};

TEST_F(TuningSave, InitThenSaveWritesTheDefaultsAndLeavesTheParameters) {
    test::WriteCp932(file(),
                     "[TuneInfo]\r\nAutoTuning=1\r\nRaceLevel=1.00\r\nTimeZenhan=0.50\r\nTimeKouhan=0.00\r\n"
                     "RaceZenhan=0.00\r\nRaceKouhan=0.00\r\nRaceMd=0.00\r\nPace=0.00\r\nKikan=200\r\n"
                     "Kisyu=0.00\r\nChokyo=0.00\r\nCombi=0.00\r\nKyoriWeight=10080604020100\r\n"
                     "[MarkInfo]\r\nMark=◎○▲\r\n");
    Application app;
    app.folders = Folders::under(dir.path());
    ASSERT_FALSE(ReadSettings(app.settings, dir.path()));
    const Settings before = app.settings;
    SetAutoTuning(app, false);  // the box, cleared by the user
    ASSERT_FALSE(SaveTuningFields(app, DefaultTuningFields()));

    EXPECT_EQ(app.settings.RaceLevel, before.RaceLevel);
    EXPECT_EQ(app.settings.Kikan, 200);
    EXPECT_EQ(app.settings.KyoriWeight, before.KyoriWeight);
    Settings saved;
    ASSERT_FALSE(ReadSettings(saved, dir.path()));
    const Settings d = DefaultTuning();
    EXPECT_FALSE(saved.AutoTuning);
    EXPECT_EQ(saved.RaceLevel, d.RaceLevel);
    EXPECT_EQ(saved.TimeZenhan, 0);
    EXPECT_EQ(saved.RaceZenhan, d.RaceZenhan);
    EXPECT_EQ(saved.RaceKouhan, d.RaceKouhan);
    EXPECT_EQ(saved.Pace, d.Pace);
    EXPECT_EQ(saved.Kikan, 600);
    EXPECT_EQ(saved.KyoriWeight, (std::array<double, 7>{10, 20, 30, 50, 30, 20, 10}));
    EXPECT_EQ(saved.Mark[2], "▲");
    EXPECT_NE(bytes().find("KyoriWeight=10203050302010\r\n"), std::string::npos);
}

TEST_F(TuningSave, KeysMissingFromTheFileAreAddedInOrder) {
    test::WriteCp932(file(), "[MarkInfo]\r\nMark=◎\r\n");
    Application app;
    app.folders = Folders::under(dir.path());
    ASSERT_FALSE(SaveTuningFields(app, DefaultTuningFields()));
    EXPECT_EQ(
        bytes(),
        "[MarkInfo]\r\nMark=\x81\x9d\r\n[TuneInfo]\r\nAutoTuning=0\r\nRaceLevel=0.30\r\nTimeZenhan=0.00\r\n"
        "TimeKouhan=0.00\r\nRaceZenhan=0.40\r\nRaceKouhan=0.60\r\nRaceMd=0.00\r\nPace=0.10\r\n"
        "Kikan=600\r\nKisyu=0.00\r\nChokyo=0.00\r\nCombi=0.00\r\nKyoriWeight=10203050302010\r\n");
}

TEST_F(TuningSave, AFailureBetweenWriteAndRenameLeavesTheFileIntact) {
    test::WriteCp932(file(), "[TuneInfo]\r\nAutoTuning=1\r\nRaceLevel=1.00\r\nKikan=200\r\n");
    const std::string original = bytes();
    Application app;
    app.folders = Folders::under(dir.path());
    TuningFields f = DefaultTuningFields();

    // The first key's replacement is abandoned: nothing changed, and no temporary file is left.
    EXPECT_TRUE(SaveTuningFields(app, f, [](const std::filesystem::path&) { return false; }));
    EXPECT_EQ(bytes(), original);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);

    // Abandoned at the third key: the two before it are saved, the file is whole.
    int calls = 0;
    EXPECT_TRUE(SaveTuningFields(app, f, [&](const std::filesystem::path&) { return ++calls < 3; }));
    EXPECT_EQ(bytes(), std::string("[TuneInfo]\r\nAutoTuning=0\r\nRaceLevel=0.30\r\nKikan=200\r\n"));
}

// Applying rebuilds the race on show: the figures of the last calculation go
// until the next one, which uses the new parameters.
TEST(TuningApply, RebuildsTheRaceWithTheNewParameters) {
    test::TempDir dir;
    Application app;
    app.folders = Folders::under(dir.path());
    std::filesystem::create_directories(app.folders.cache);
    test::StoreBuilder b(app.store);
    std::vector<test::RunnerSpec> runners(2);
    for (int i = 0; i < 2; ++i) {
        runners[static_cast<size_t>(i)].umaCode = test::Uma(i + 1);
        runners[static_cast<size_t>(i)].umaban = "0" + std::to_string(i + 1);
    }
    b.addRace(test::kRaceId, test::KonsyuLabel("中山", "ダ1200"), runners);
    b.addRun(test::Uma(1), {"2008100106010101"});
    b.addRun(test::Uma(2), {"2008100106010102"});
    app.settings = DefaultTuning();
    test::FakePump pump;
    ASSERT_FALSE(OpenRace(app, test::kRaceId, app.store.RaceLabel[1], pump));
    ASSERT_FALSE(Calculate(app));
    const Sheet& s1 = app.raceCard.sheet(kSheetSyuso);
    ASSERT_FALSE(s1.text(RowNo(1), sheet1::kSogo).empty());
    ChooseRunner(app, RowNo(1));

    int opened = 0;
    Subscription sub = app.changes.subscribe([&](Change c) { opened += c == Change::RaceOpened; });
    TuningFields f = DefaultTuningFields();
    f.weights[kTuneRaceLevel] = "";
    f.cboKikan = 0;
    ASSERT_FALSE(ApplyTuningFields(app, f, pump));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(app.settings.RaceLevel, 0.0);
    EXPECT_EQ(app.settings.Kikan, 100);
    EXPECT_EQ(s1.rowCount(), 2);
    EXPECT_TRUE(s1.text(RowNo(1), sheet1::kSogo).empty());
    EXPECT_EQ(app.pane.fpsHistory.rowCount(), 0);

    TuningFields bad = f;
    bad.weights[kTunePace] = "?";
    EXPECT_TRUE(ApplyTuningFields(app, bad, pump));
    EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace veltrix
