#include "sample/sample_world.h"

#include <fstream>
#include <stdexcept>

#include "sample/sample_generator.h"

namespace veltrix::sample {
namespace detail {

Generator::Generator(std::filesystem::path folder, const SampleOptions& opt, RecordObserver* obs)
    : folder_(std::move(folder)), opt_(opt), obs_(obs), rng_(MixSeed(opt.seed, 1)) {
    saturday_ = parseDate(opt.saturday);
    if (weekday(saturday_) != 6)
        throw std::runtime_error("the week must start on a Saturday: " + opt.saturday);
}

// The model first (people, the week with every career, the registrations),
// then the files, then what they hold for the caller.
SampleWorld Generator::run() {
    makePeople();
    makeWeek();
    makeToku();
    markRepeatedDeliveries();
    coverAbnormalities();
    writeStored();
    writeRealtime();
    describeWorld();
    return world_;
}

// Every 97th past run is also delivered under the other category, every 89th
// also in a second file.
void Generator::markRepeatedDeliveries() {
    int count = 0;
    for (auto& run : runs_) {
        if (races_[static_cast<std::size_t>(run.race)].week) continue;
        ++count;
        run.bothCategories = count % 97 == 3;
        run.twoFiles = count % 89 == 5;
    }
}

// Every abnormality code at least once, however small the world.
void Generator::coverAbnormalities() {
    for (int code = 1; code <= 7; ++code) {
        bool present = false;
        for (const auto& run : runs_) present = present || run.abnormality == code;
        if (present) continue;
        for (auto& run : runs_) {
            const Race& r = races_[static_cast<std::size_t>(run.race)];
            if (r.week || run.abnormality != 0 || (code == 6 && !r.jump)) continue;
            run.abnormality = code;
            break;
        }
    }
}

void Generator::describeWorld() {
    for (int idx : weekRaces_) world_.weekRaceIds.push_back(races_[static_cast<std::size_t>(idx)].id);
    for (int idx : tokuRaces_) world_.tokuRaceIds.push_back(races_[static_cast<std::size_t>(idx)].id);
    for (const Horse& h : horses_) {
        SampleHorse s;
        s.umaCode = h.umaCode;
        s.name = h.name;
        s.ability = h.ability;
        for (int runIdx : h.runs) {
            const Race& r = races_[static_cast<std::size_t>(runs_[static_cast<std::size_t>(runIdx)].race)];
            if (r.week) continue;
            s.pastRaceIds.push_back(r.id);
            ++world_.pastRuns;
        }
        world_.horses.push_back(std::move(s));
    }
}

}  // namespace detail

namespace {

const char kSettings[] =
    "[TuneInfo]\r\n"
    "AutoTuning=0\r\n"
    "RaceLevel=0.30\r\n"
    "TimeZenhan=0.00\r\n"
    "TimeKouhan=0.00\r\n"
    "RaceZenhan=0.40\r\n"
    "RaceKouhan=0.60\r\n"
    "RaceMd=0.00\r\n"
    "Pace=0.10\r\n"
    "Kikan=600\r\n"
    "Kisyu=0.00\r\n"
    "Chokyo=0.00\r\n"
    "Combi=0.00\r\n"
    "KyoriWeight=10203050302010\r\n"
    "[MarkInfo]\r\n"
    "Mark=\x81"
    "\x9D"
    "\x81"
    "\x9B"
    "\x81"
    "\xA3"
    "\x81"
    "\xA2"
    "\x81"
    "\x99"
    "\x81"
    "~\x92"
    "\x8D"
    "\x81"
    "\x9A"
    "\x81"
    "\x9C"
    "\x81"
    "\x9E"
    "\x81"
    "\x9F"
    "\x81"
    "\xA0"
    "\x81"
    "\xA1"
    "\x8C"
    "\x8A"
    "\x8F"
    "\xC1"
    "\r\n";

}  // namespace

SampleWorld GenerateSampleWorld(const std::filesystem::path& jvlinkFolder, const SampleOptions& options,
                                RecordObserver* observer) {
    detail::Generator g(jvlinkFolder, options, observer);
    return g.run();
}

std::string_view DefaultSettingsFile() { return std::string_view(kSettings, sizeof(kSettings) - 1); }

SampleWorld WriteSampleProgramFolder(const std::filesystem::path& folder, const SampleOptions& options) {
    std::filesystem::create_directories(folder / "cache");
    std::filesystem::create_directories(folder / "data");
    const auto settings = DefaultSettingsFile();
    std::ofstream out(folder / "VELTRIX.ctx", std::ios::binary | std::ios::trunc);
    out.write(settings.data(), static_cast<std::streamsize>(settings.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / "VELTRIX.ctx").string());
    out.close();
    return GenerateSampleWorld(folder / "jvlink", options);
}

}  // namespace veltrix::sample
