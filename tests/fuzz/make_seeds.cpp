// Generates a sample world (its week imported, no results years) and cuts it
// into small seed inputs for the fuzz harnesses,
// and a small consistent week (the fixture) that some harnesses read besides
// their input. Run at build time; nothing it writes is committed.
//
// Usage: make_seeds SAMPLE_FOLDER GOLDEN_CACHE_FOLDER OUT_FOLDER
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "jvlink/results_build.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "store/results_db.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Lines with their CR LF.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        out.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

// The second comma-separated field without its quotes.
std::string secondField(const std::string& line) {
    size_t a = line.find(',');
    if (a == std::string::npos) return {};
    size_t b = line.find(',', a + 1);
    std::string f = line.substr(a + 1, (b == std::string::npos ? line.size() : b) - a - 1);
    while (!f.empty() && (f.back() == '\r' || f.back() == '\n')) f.pop_back();
    if (f.size() >= 2 && f.front() == '"') f = f.substr(1, f.size() - 2);
    return f;
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// A weekly file of the header's kind holding only the records kept.
std::string weeklyFile(const std::string& header, const std::vector<std::string>& records) {
    // The header is "0",count (and ,"mode" for cache1): the count is replaced.
    size_t a = header.find(',');
    size_t b = header.find_first_of(",\r\n", a + 1);
    std::string out = header.substr(0, a + 1) + std::to_string(records.size()) + header.substr(b);
    for (const auto& r : records) out += r;
    return out;
}

// An analysis file: per "0",count block, the records whose second field
// (a race id) is one of `races`, at most `most` a block, counts rewritten.
std::string analysisFile(const std::string& text, const std::set<std::string>& races, size_t most) {
    std::string out;
    std::string blockHeader;
    std::vector<std::string> block;
    auto flush = [&] {
        if (!blockHeader.empty()) out += weeklyFile(blockHeader, block);
        blockHeader.clear();
        block.clear();
    };
    for (const auto& line : lines(text)) {
        if (startsWith(line, "\"0\",")) {
            flush();
            blockHeader = line;
        } else if (startsWith(line, "\"1\",") && !blockHeader.empty()) {
            if (block.size() < most && races.count(secondField(line))) block.push_back(line);
        } else {
            flush();
            out += line;
        }
    }
    flush();
    return out;
}

// The condition file: its first `most` records, the closing count rewritten.
std::string conditionFile(const std::string& text, size_t most) {
    std::string out;
    size_t kept = 0;
    for (const auto& line : lines(text)) {
        if (startsWith(line, "\"1\",")) {
            if (kept < most) out += line, ++kept;
        } else if (startsWith(line, "\"9\",")) {
            out += "\"9\"," + std::to_string(kept) + "\r\n";
        } else {
            out += line;
        }
    }
    return out;
}

std::vector<std::string> recordsOf(const fs::path& folder) {
    std::vector<std::string> out;
    if (!fs::exists(folder)) return out;
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files)
        for (auto& l : lines(readFile(f)))
            if (l.size() > 2) out.push_back(l);
    return out;
}

std::string joinRecords(const std::vector<std::string>& records) {
    std::string out;
    for (const auto& r : records) out.append(r).append(veltrix::fuzz::kRecordSeparator);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_seeds SAMPLE_FOLDER GOLDEN_CACHE_FOLDER OUT_FOLDER\n");
        return 2;
    }
    const fs::path sample = argv[1], golden = argv[2], out = argv[3];
    {
        fs::remove_all(sample);
        veltrix::sample::SampleOptions options;
        options.resultsYears = 0;
        veltrix::sample::WriteSampleProgramFolder(sample, options);
        std::string reason;
        if (!veltrix::sample::ImportSampleWeek(sample, options.seed, reason)) {
            std::fprintf(stderr, "make_seeds: the sample week does not import: %s\n", reason.c_str());
            return 1;
        }
    }
    const fs::path cache = sample / "cache";
    const fs::path corpus = out / "corpus";
    fs::remove_all(out);

    // The fixture: the first three races, their runners and the runners' past runs.
    auto c1 = lines(readFile(cache / "cache1xxxxxxxx"));
    auto c2 = lines(readFile(cache / "cache2xxxxxxxx"));
    auto c3 = lines(readFile(cache / "cache3xxxxxxxx"));
    if (c1.size() < 4 || c2.size() < 2 || c3.size() < 2) {
        std::fprintf(stderr, "make_seeds: no stored week in %s\n", cache.c_str());
        return 1;
    }
    std::set<std::string> races, horses;
    std::vector<std::string> r1(c1.begin() + 1, c1.begin() + 4), r2, r3;
    for (const auto& r : r1) races.insert(secondField(r));
    for (size_t i = 1; i < c2.size(); ++i) {
        if (!races.count(secondField(c2[i]))) continue;
        r2.push_back(c2[i]);
        horses.insert(c2[i].substr(c2[i].find(',', c2[i].find(',') + 1) + 2, 10));
    }
    for (size_t i = 1; i < c3.size() && r3.size() < 120; ++i)
        if (horses.count(secondField(c3[i]))) r3.push_back(c3[i]);
    const std::string week[] = {weeklyFile(c1[0], r1), weeklyFile(c2[0], r2), weeklyFile(c3[0], r3)};
    const char* names[] = {"cache1xxxxxxxx", "cache2xxxxxxxx", "cache3xxxxxxxx"};
    for (int k = 0; k < 3; ++k) {
        writeFile(out / "fixture" / "cache" / names[k], week[k]);
        writeFile(corpus / "weekly" / ("file" + std::to_string(k + 1)), std::string(1, char('1' + k)) + week[k]);
    }

    writeFile(corpus / "settings" / "sample", readFile(sample / "VELTRIX.ctx"));

    // Analysis file of the fixture's first race date, and the condition file.
    const std::string date = races.begin()->substr(0, 8);
    const fs::path analysis = cache / ("cachea" + date + "r");
    // The analysis harness's first byte: 'r' figures, 'p' conditions.
    writeFile(corpus / "analysis" / "figures", "r" + analysisFile(readFile(analysis), races, 200));
    writeFile(corpus / "analysis" / "conditions", "p" + conditionFile(readFile(cache / "cachea00000000p"), 20));
    writeFile(out / "fixture" / "analysis_argument", date + "r");
    // The service's answers: the analysis file's text as sent (without the
    // token line the download adds), and the two error answers.
    {
        std::string answer = analysisFile(readFile(analysis), races, 60);
        answer = answer.substr(answer.find('\n') + 1);
        writeFile(corpus / "service" / "figures", answer);
        writeFile(corpus / "service" / "err3", "err3\r\n");
        writeFile(corpus / "service" / "err6", "err6\r\n");
    }

    // Per-race files: the sample world has no real-time import yet, so the
    // golden program's files of one race stand in; the first byte is the kind.
    for (const auto& e : fs::directory_iterator(golden)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 22 && name.rfind("cache", 0) == 0 && std::string("45678").find(name[5]) != std::string::npos)
            writeFile(corpus / "race_files" / name, std::string(1, name[5]) + readFile(e.path()));
    }

    // Records: the first record of each type and category of every folder.
    std::map<std::string, std::string> firstOf;
    for (const char* kind : {"stored", "realtime"})
        for (const auto& r : recordsOf(sample / "jvlink" / kind))
            firstOf.emplace(r.substr(0, 3), r);
    for (const auto& [key, record] : firstOf) writeFile(corpus / "records" / key, record);

    // Deliveries for the imports: records of the fixture's races and of their
    // runners' past races, as JVRead hands them over. 'W': this week, 'T': special registrations.
    std::vector<std::string> weekRecords, tokuRecords;
    std::set<std::string> pastRaces;
    for (const auto& r : r3) pastRaces.insert(r.substr(r.find(',', r.find(',') + 1) + 2, 16));
    // Every record starts with its type, category and date of making, then the race id.
    auto raceIdOf = [](const std::string& r) { return r.size() > 27 ? r.substr(11, 16) : std::string(); };
    for (const auto& r : recordsOf(sample / "jvlink" / "stored" / "RACE"))
        if (races.count(raceIdOf(r)) && weekRecords.size() < 40) weekRecords.push_back(r);
    for (const auto& r : recordsOf(sample / "jvlink" / "stored" / "RCOV"))
        if (pastRaces.count(raceIdOf(r)) && weekRecords.size() < 160) weekRecords.push_back(r);
    for (const auto& r : recordsOf(sample / "jvlink" / "stored" / "TOKU"))
        if (tokuRecords.size() < 3) tokuRecords.push_back(r);
    for (const auto& r : recordsOf(sample / "jvlink" / "stored" / "TCOV"))
        if (tokuRecords.size() < 60) tokuRecords.push_back(r);
    writeFile(corpus / "import" / "week", "W" + joinRecords(weekRecords));
    writeFile(corpus / "import" / "toku", "T" + joinRecords(tokuRecords));

    // Results database: race files written by the build's own writer from the
    // final results among the past runs (three races), and the state file's forms.
    {
        // Past runs are of the week's horses, a few per race: the fourth file holds
        // 18 of them, as a full race would.
        std::map<std::string, std::vector<veltrix::SeisekiRecord>> byRace;
        std::vector<veltrix::SeisekiRecord> fullRace;
        for (const auto& r : recordsOf(sample / "jvlink" / "stored" / "RCOV")) {
            if (!startsWith(r, "SE7")) continue;
            auto runner = veltrix::SeisekiRecordOf(r);
            if (!runner) continue;
            if (fullRace.size() < 18) fullRace.push_back(*runner);
            const std::string id = raceIdOf(r);
            if (byRace.size() < 3 || byRace.count(id)) byRace[id].push_back(std::move(*runner));
        }
        byRace["2025122806050811"] = fullRace;
        const fs::path data = sample / "seiseki";
        fs::create_directories(data);
        for (const auto& [id, runners] : byRace) {
            if (veltrix::AppendSeisekiRaceFile(data, id, runners) != 0) {
                std::fprintf(stderr, "make_seeds: cannot write the race file %s\n", id.c_str());
                return 1;
            }
            writeFile(corpus / "seiseki_file" / id, readFile(*veltrix::SeisekiRaceFilePath(data, id)));
        }
        writeFile(corpus / "database_info" / "normal", "\"20251229000000\",\"N\"\r\n");
        writeFile(corpus / "database_info" / "setup", "\"20000105000000\",\"S\"\r\n");
        writeFile(corpus / "database_info" / "resume", "\"20250106000000\",\"S\"\r\n");
    }
    return 0;
}
