#include "jvlink/standin/standin_jvlink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <thread>

#include "base/encoding.h"
#include "base/fields.h"
#include "platform/desktop.h"

namespace veltrix {

namespace fs = std::filesystem;

namespace {

bool allDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return c >= '0' && c <= '9'; });
}

// Data specs and keys become path components: only upper-case letters and digits.
bool isSpecChunk(const std::string& s) {
    return s.size() == 4 && std::all_of(s.begin(), s.end(), [](unsigned char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
           });
}

// "<14-digit stamp>_<name>" names a stored file; anything else in the folder is not data.
bool stampOfName(const std::string& name, std::string& stamp) {
    if (name.size() < 15 || name[14] != '_') return false;
    stamp = name.substr(0, 14);
    return allDigits(stamp);
}

std::vector<std::pair<std::string, fs::path>> listStored(const fs::path& dir) {
    std::vector<std::pair<std::string, fs::path>> out;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return out;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string stamp;
        if (!it->is_regular_file(ec)) continue;
        if (stampOfName(it->path().filename().string(), stamp)) out.emplace_back(stamp, it->path());
    }
    return out;
}

// First stamp of the data week holding the given stamp. A week of JV-Data runs from
// Tuesday to Monday: entries on Thursday, racecards on Friday, races at the weekend,
// final results on Monday.
std::string weekStartOf(const std::string& stamp) {
    using namespace std::chrono;
    year_month_day ymd{year{std::stoi(stamp.substr(0, 4))}, month{unsigned(std::stoi(stamp.substr(4, 2)))},
                       day{unsigned(std::stoi(stamp.substr(6, 2)))}};
    if (!ymd.ok()) return stamp.substr(0, 8) + "000000";
    sys_days d{ymd};
    unsigned back = (weekday{d}.c_encoding() + 7 - Tuesday.c_encoding()) % 7;
    year_month_day start{d - days{back}};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u000000", int(start.year()), unsigned(start.month()),
                  unsigned(start.day()));
    return buf;
}

}  // namespace

StandinJVLink::StandinJVLink(fs::path folder, StandinOptions options)
    : folder_(std::move(folder)), options_(std::move(options)) {
    notInitialisedLeft_ = options_.faults.notInitialisedOpens;
}

void ReadStandinFaults(const fs::path& folder, StandinFaults& faults) {
    std::ifstream in(folder / "faults.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos || line.substr(0, eq) != "ReadDelayMs") continue;
        if (auto v = ParseInteger(line.substr(eq + 1)); v && *v >= 0 && *v <= 10000)
            faults.readDelayMs = static_cast<int>(*v);
    }
}

int StandinJVLink::JVInit(const std::string& softwareId) {
    ++calls_.init;
    if (options_.faults.initResult != 0) return options_.faults.initResult;
    softwareId_ = softwareId;
    initialised_ = true;
    return 0;
}

int StandinJVLink::JVSetUIProperties() {
    ++calls_.setUIProperties;
    return options_.faults.setUIPropertiesResult;
}

int StandinJVLink::noData(int& readCount, int& downloadCount, std::string& lastFileTimeStamp) {
    readCount = 0;
    downloadCount = 0;
    lastFileTimeStamp.clear();
    if (options_.noDataResult == 0) startSession({}, 0);
    return options_.noDataResult;
}

void StandinJVLink::startSession(std::vector<DataFile> files, int downloadCount) {
    files_ = std::move(files);
    downloadCount_ = downloadCount;
    downloaded_ = 0;
    sessionReads_ = 0;
    std::uintmax_t bytes = 0;
    for (const auto& f : files_) bytes += f.size;
    totalSizeKb_ = static_cast<long long>((bytes + 1023) / 1024);
    current_ = -1;
    atFileEnd_ = false;
    content_.clear();
    pos_ = 0;
    busyGiven_ = false;
    currentStamp_.clear();
    open_ = true;
}

int StandinJVLink::JVOpen(const std::string& dataSpec, const std::string& fromTime, int option,
                          int& readCount, int& downloadCount, std::string& lastFileTimeStamp) {
    ++calls_.open;
    readCount = 0;
    downloadCount = 0;
    lastFileTimeStamp.clear();
    if (options_.requireInit && !initialised_) return kJVNotInitialised;
    if (notInitialisedLeft_ > 0) {
        --notInitialisedLeft_;
        return kJVNotInitialised;
    }
    if (open_) return kJVAlreadyOpen;
    if (dataSpec.empty() || dataSpec.size() % 4 != 0) return kJVBadDataSpec;
    for (std::size_t i = 0; i < dataSpec.size(); i += 4)
        if (!isSpecChunk(dataSpec.substr(i, 4))) return kJVBadDataSpec;
    if (fromTime.size() != 14 || !allDigits(fromTime)) return kJVBadFromTime;
    if (option < 1 || option > 4) return kJVBadOption;

    // Several data specs may be asked for at once ("RACETOKU"); each is its own folder.
    std::vector<DataFile> files;
    for (std::size_t i = 0; i < dataSpec.size(); i += 4) {
        auto stored = listStored(folder_ / "stored" / dataSpec.substr(i, 4));
        std::string weekStart;
        if (option == 2 && !stored.empty())
            weekStart = weekStartOf(std::max_element(stored.begin(), stored.end())->first);
        for (auto& [stamp, path] : stored) {
            bool take = option >= 3 ? stamp >= fromTime : stamp > fromTime;
            if (option == 2) take = take && stamp >= weekStart;
            if (!take) continue;
            std::error_code ec;
            auto size = fs::file_size(path, ec);
            files.push_back({path, path.filename().string(), stamp, ec ? 0 : size});
        }
    }
    if (files.empty()) return noData(readCount, downloadCount, lastFileTimeStamp);
    std::sort(files.begin(), files.end(), [](const DataFile& a, const DataFile& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.name < b.name;
    });

    readCount = static_cast<int>(files.size());
    downloadCount = options_.simulateDownload ? readCount : 0;
    lastFileTimeStamp = files.back().stamp;
    startSession(std::move(files), downloadCount);
    return 0;
}

int StandinJVLink::JVRTOpen(const std::string& dataSpec, const std::string& key) {
    ++calls_.rtOpen;
    if (options_.requireInit && !initialised_) return kJVNotInitialised;
    if (notInitialisedLeft_ > 0) {
        --notInitialisedLeft_;
        return kJVNotInitialised;
    }
    if (open_) return kJVAlreadyOpen;
    if (!isSpecChunk(dataSpec)) return kJVBadDataSpec;
    if (!allDigits(key) || key.size() > 16) return kJVBadKey;
    auto path = folder_ / "realtime" / dataSpec / (key + ".txt");
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        int r, d;
        std::string s;
        return noData(r, d, s);
    }
    auto size = fs::file_size(path, ec);
    startSession({{path, path.filename().string(), std::string(), ec ? 0 : size}}, 0);
    return 0;
}

int StandinJVLink::JVStatus() {
    ++calls_.status;
    if (options_.requireInit && !initialised_) return kJVNotInitialised;
    if (!open_) return kJVNotOpen;
    const auto& f = options_.faults;
    if (f.statusFailureCode != 0 && downloaded_ >= f.statusFailureAfter) return f.statusFailureCode;
    if (downloaded_ < downloadCount_) ++downloaded_;
    return downloaded_;
}

bool StandinJVLink::readable(int index) const {
    // Files not counted in DownloadCount are local already; the others arrive in order.
    int local = static_cast<int>(files_.size()) - downloadCount_;
    return index < local + downloaded_;
}

bool StandinJVLink::loadFile(int index) {
    auto bytes = ReadFileBytes(files_[index].path);
    if (!bytes) return false;
    content_ = std::move(*bytes);
    pos_ = 0;
    current_ = index;
    atFileEnd_ = false;
    busyGiven_ = false;
    currentStamp_ = files_[index].stamp;
    return true;
}

int StandinJVLink::JVRead(std::string& buff, int size, std::string& fileName) {
    ++calls_.read;
    buff.clear();
    if (!open_) return kJVNotOpen;
    ++sessionReads_;
    const auto& f = options_.faults;
    if (f.readDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(f.readDelayMs));
    if (f.readFailureCode != 0 && sessionReads_ == f.readFailureAt) return f.readFailureCode;

    if (current_ < 0) {
        if (files_.empty()) return 0;
        if (!readable(0)) return -3;
        if (!loadFile(0)) return kJVDownloadFailed;
    }
    for (;;) {
        fileName = files_[current_].name;
        // Next record: everything up to and including the next CR LF. A bare CR or
        // LF is a byte of the record (a damaged name may hold one); the record's
        // length then tells its reader whether it is whole. A lone CR LF carries
        // no record.
        while (pos_ < content_.size()) {
            std::size_t eol = content_.find("\r\n", pos_);
            std::size_t end = eol == std::string::npos ? content_.size() : eol + 2;
            std::string_view line(content_.data() + pos_, end - pos_);
            if (line == "\r\n") {
                pos_ = end;
                continue;
            }
            if (f.busyBeforeRecords && !busyGiven_) {
                busyGiven_ = true;
                return -3;
            }
            busyGiven_ = false;
            pos_ = end;
            // A record longer than the buffer is cut; the buffer's last byte holds the terminator.
            std::size_t room = static_cast<std::size_t>(std::max(size - 1, 1));
            buff.assign(line.substr(0, std::min(line.size(), room)));
            return static_cast<int>(buff.size());
        }
        // The end of every file, the last one included, is reported once with -1.
        if (!atFileEnd_) {
            atFileEnd_ = true;
            return -1;
        }
        int next = current_ + 1;
        if (next >= static_cast<int>(files_.size())) return 0;
        if (!readable(next)) return -3;
        if (!loadFile(next)) return kJVDownloadFailed;
    }
}

int StandinJVLink::JVSkip() {
    ++calls_.skip;
    if (!open_) return kJVNotOpen;
    if (current_ >= 0) pos_ = content_.size();
    return 0;
}

int StandinJVLink::JVClose() {
    ++calls_.close;
    open_ = false;
    files_.clear();
    content_.clear();
    content_.shrink_to_fit();
    current_ = -1;
    return 0;
}

long long StandinJVLink::TotalReadFilesize() const { return totalSizeKb_; }

std::string StandinJVLink::CurrentFileTimeStamp() const { return currentStamp_; }

fs::path StandinJVLink::findVideo(const std::string& raceId) const {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_ / "video", ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && it->path().stem().string() == raceId) found.push_back(it->path());
    }
    if (found.empty()) return {};
    return *std::min_element(found.begin(), found.end());
}

int StandinJVLink::JVMVCheck(const std::string& raceId) {
    ++calls_.mvCheck;
    if (options_.requireInit && !initialised_) return kJVNotInitialised;
    if (raceId.size() != 16 || !allDigits(raceId)) return kJVBadKey;
    return findVideo(raceId).empty() ? 0 : 1;
}

int StandinJVLink::JVMVPlay(const std::string& raceId) {
    ++calls_.mvPlay;
    if (options_.requireInit && !initialised_) return kJVNotInitialised;
    if (raceId.size() != 16 || !allDigits(raceId)) return kJVBadKey;
    auto video = findVideo(raceId);
    if (video.empty()) return kJVNoData;
    bool started = options_.videoOpener ? options_.videoOpener(video) : platform::OpenWithDesktop(video);
    return started ? 0 : kJVVideoNotStarted;
}

}  // namespace veltrix
