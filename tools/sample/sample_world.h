#pragma once
// A deterministic sample world written as a JV-Link stand-in folder: this
// week's races and runners, the special registrations, every horse's past
// runs, real-time odds, data-mining forecasts and quick results, and a stream
// of final results. The same options always give the same bytes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "jvlink/records.h"

namespace veltrix::sample {

struct SampleOptions {
    std::uint32_t seed = 1;
    // Years of final results (every race of every race day) before the week in
    // the stored "RACE" stream; 0 keeps only this week's files there.
    int resultsYears = 1;
    // The Saturday of the week, yyyymmdd; Sunday follows.
    std::string saturday = "20261212";
    // A smaller world for tests: fewer horses per race and shorter careers.
    bool small = false;
};

struct SampleHorse {
    std::string umaCode;
    std::string name;                      // UTF-8, without padding
    int ability = 0;                       // 0-100: how well it tends to place
    std::vector<std::string> pastRaceIds;  // ascending dates, each past run once
};

// A horse in a race of the week: a runner (horse number "01"...) or a
// special registration (sequence number "001"...).
struct SampleEntry {
    std::string raceId;
    std::string number;
    std::size_t horse = 0;  // index into SampleWorld::horses
};

// What was written, for generators of matching data (analysis files) and tests.
struct SampleWorld {
    std::vector<std::string> weekRaceIds;  // the 72 races of the week
    std::vector<std::string> tokuRaceIds;  // races with special registrations
    std::vector<SampleHorse> horses;       // every horse of the week and the registrations
    std::vector<SampleEntry> weekRunners;  // per SE record of the week, in write order
    std::vector<SampleEntry> tokuEntries;  // per registered horse, in write order
    long long records = 0;
    long long bytes = 0;
    int files = 0;
    int pastRuns = 0;  // distinct (horse, past race) pairs
};

// Sees every record as it is written: the model it came from and its bytes.
class RecordObserver {
public:
    virtual ~RecordObserver() = default;
    virtual void onFile(const std::filesystem::path& file) = 0;  // before the file's records
    virtual void onRecord(const RaRecord& model, std::string_view bytes) = 0;
    virtual void onRecord(const SeRecord& model, std::string_view bytes) = 0;
    virtual void onRecord(const TkRecord& model, std::string_view bytes) = 0;
    virtual void onRecord(const O1Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const O2Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const O3Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const O4Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const O5Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const O6Record& model, std::string_view bytes) = 0;
    virtual void onRecord(const DmRecord& model, std::string_view bytes) = 0;
};

// Writes the stand-in folder (created when missing; files of the same names
// are replaced). Throws std::runtime_error when a file cannot be written.
SampleWorld GenerateSampleWorld(const std::filesystem::path& jvlinkFolder, const SampleOptions& options,
                                RecordObserver* observer = nullptr);

// The delivered settings file "VELTRIX.ctx", byte for byte (CP932, CR LF).
std::string_view DefaultSettingsFile();

// A ready program folder: settings file, empty "cache" and "data" folders and
// the stand-in folder "jvlink".
SampleWorld WriteSampleProgramFolder(const std::filesystem::path& folder, const SampleOptions& options);

}  // namespace veltrix::sample
