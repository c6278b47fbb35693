// The weekly import fed with arbitrary records, as JVRead would hand them over.
// The first byte chooses the command ('T' special registrations, anything else
// this week); the rest is records separated by NUL LF, delivered for every
// data spec. The import ends imported, with nothing, or abandoned: the week is
// then on disk and in the tables alike, or gone from both.
#include <cstdint>
#include <string>

#include "app/application.h"
#include "app/import_commands.h"
#include "fuzz_common.h"
#include "store/weekly_store.h"
#include "support/fake_host.h"
#include "support/record_jvlink.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("import");
    if (size < 1) return 0;
    const bool toku = data[0] == 'T';
    test::RecordJVLink jv;
    std::vector<std::string> records;
    for (std::string_view r : fuzz::SplitRecords(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)))
        records.emplace_back(r);
    for (const char* spec : {"RACE", "RCOV", "TOKU", "TCOV"}) jv.records[spec] = records;

    Application app;
    app.folders = folders;
    WeeklyImportState state;
    test::FakeUserInterface ui;
    test::FakePump pump;
    test::FakeClock clock;
    const ImportOutcome outcome =
        toku ? ImportTokubetsu(app, state, {jv, ui, pump, clock}) : ImportThisWeek(app, state, {jv, ui, pump, clock});
    const Store& store = app.store;
    if (outcome == ImportOutcome::Imported) {
        if (store.DataMode != (toku ? "TOKUBETSU" : "KONSYU")) fuzz::Fail("imported without its mode");
        Store back;
        if (LoadRaceCache(back, folders)) fuzz::Fail("an imported week does not load");
        if (back.RaceCount != store.RaceCount || back.UmaCount != store.UmaCount ||
            back.HistoryCount != store.HistoryCount || back.RaceInfo != store.RaceInfo ||
            back.UmaInfo != store.UmaInfo || back.HistoryInfo != store.HistoryInfo)
            fuzz::Fail("the imported tables differ from the files");
    } else {
        if (!store.DataMode.empty() || store.RaceCount != 0 || store.UmaCount != 0 || store.HistoryCount != 0)
            fuzz::Fail("an import that failed left tables");
        for (const char* name : {kCache1, kCache2, kCache3})
            if (FileExists(folders.cache / name)) fuzz::Fail("an import that failed left a weekly file");
    }
    return 0;
}
