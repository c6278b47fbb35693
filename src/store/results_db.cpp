#include "store/results_db.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <system_error>

#include "base/encoding.h"
#include "base/fields.h"
#include "base/folders.h"
#include "store/race_files.h"

namespace veltrix {

namespace fs = std::filesystem;

namespace {

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c >= '0' && c <= '9'; });
}

bool isYearFolderName(const std::string& name) { return name.size() == 4 && allDigits(name); }

// The year folders of the database, by name.
std::vector<std::pair<std::string, fs::path>> yearFolders(const fs::path& dataFolder) {
    std::vector<std::pair<std::string, fs::path>> out;
    std::error_code ec;
    for (fs::directory_iterator it(dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code typeEc;
        if (isYearFolderName(name) && it->is_directory(typeEc)) out.emplace_back(std::move(name), it->path());
    }
    return out;
}

// Race files of a year folder: names that are race ids of that year.
template <class F>
int forEachRaceFile(const std::string& year, const fs::path& folder, F&& f) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return -1;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return -1;
        const std::string name = it->path().filename().string();
        std::error_code typeEc;
        if (IsRaceId(name) && name.compare(0, 4, year) == 0 && it->is_regular_file(typeEc))
            f(name, it->path());
    }
    return 0;
}

}  // namespace

bool IsDatabaseStamp(std::string_view stamp) {
    return stamp.size() == 14 && allDigits(stamp) && stamp.substr(0, 2) == "20";
}

int ReadDatabaseInfo(const fs::path& dataFolder, DatabaseInfo& info) {
    const fs::path path = dataFolder / kDatabaseInfoName;
    if (auto reader = FieldReader::FromFile(path)) {
        std::vector<std::string> fields;
        // Exactly one record of two fields; whatever follows it is not read.
        if (reader->readRecord(fields) && fields.size() == 2 && IsDatabaseStamp(fields[0])) {
            info.stamp = fields[0];
            info.state = fields[1];
            return 0;
        }
    }
    info.stamp = kSetupStamp;
    info.state = kStateSetup;
    return WriteDatabaseInfo(dataFolder, info.stamp, info.state);
}

int WriteDatabaseInfo(const fs::path& dataFolder, const std::string& stamp, const std::string& state) {
    FieldWriter w;
    w.quoted(stamp).quoted(state).endLine();
    return w.saveAtomically(dataFolder / kDatabaseInfoName) ? 0 : -1;
}

int WriteResumePoint(const fs::path& dataFolder, const std::string& day, const std::string& state) {
    FieldWriter w;
    w.quoted(day + "000000").quoted(state).endLine();
    const auto bytes = Utf8ToCp932(w.text());
    const fs::path path = dataFolder / kDatabaseInfoName;
    fs::path tmp = path;
    tmp += ".tmp";
    if (!bytes || !WriteFileBytes(tmp, *bytes)) return -1;
    std::error_code ec;
    fs::rename(tmp, path, ec);
    return ec ? -1 : 0;
}

std::optional<fs::path> SeisekiRaceFilePath(const fs::path& dataFolder, const std::string& raceId) {
    if (!IsRaceId(raceId)) return std::nullopt;
    return dataFolder / raceId.substr(0, 4) / raceId;
}

int AppendSeisekiRaceFile(const fs::path& dataFolder, const std::string& raceId,
                          std::span<const SeisekiRecord> runners) {
    const auto path = SeisekiRaceFilePath(dataFolder, raceId);
    if (!path) return -1;
    FieldWriter w;
    w.reserve(runners.size() * 120);
    for (const SeisekiRecord& r : runners) w.quoted(std::span<const std::string>(r)).endLine();
    const auto bytes = Utf8ToCp932(w.text());
    if (!bytes) return -1;

    const fs::path folder = path->parent_path();
    if (!FileExists(folder)) {
        std::error_code ec;
        fs::create_directory(folder, ec);
        if (ec) return -1;
    }
    std::ofstream file(*path, std::ios::binary | std::ios::app);
    if (!file) return -1;
    file.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    file.close();
    return file ? 0 : -1;
}

SeisekiRaceFile ReadSeisekiRaceFile(const fs::path& dataFolder, const std::string& raceId) {
    SeisekiRaceFile out;
    const auto path = SeisekiRaceFilePath(dataFolder, raceId);
    if (!path || !FileExists(*path)) return out;
    out.status = SeisekiFileStatus::Damaged;
    auto reader = FieldReader::FromFile(*path);
    if (!reader) return out;
    std::vector<SeisekiRecord> runners;
    std::vector<std::string> fields;
    while (reader->readRecord(fields)) {
        if (fields.size() != kSeisekiFields || runners.size() == kSeisekiRunnersMax) return out;
        SeisekiRecord& r = runners.emplace_back();
        std::move(fields.begin(), fields.end(), r.begin());
    }
    out.status = SeisekiFileStatus::Read;
    out.runners = std::move(runners);
    return out;
}

int DeleteSeisekiFilesFrom(const fs::path& dataFolder, const std::string& day) {
    if (day.size() != 8 || !allDigits(day)) return -1;
    const std::string year = day.substr(0, 4);
    int result = 0;
    for (const auto& [name, folder] : yearFolders(dataFolder)) {
        if (name < year) continue;
        std::vector<fs::path> doomed;
        if (forEachRaceFile(name, folder, [&](const std::string& raceId, const fs::path& file) {
                if (raceId.compare(0, 8, day) >= 0) doomed.push_back(file);
            }) < 0)
            result = -1;
        for (const fs::path& file : doomed) {
            std::error_code ec;
            fs::remove(file, ec);
            if (ec) result = -1;
        }
    }
    return result;
}

long long CountSeisekiRaceFiles(const fs::path& dataFolder) {
    long long count = 0;
    for (const auto& [name, folder] : yearFolders(dataFolder))
        forEachRaceFile(name, folder, [&](const std::string&, const fs::path&) { ++count; });
    return count;
}

}  // namespace veltrix
