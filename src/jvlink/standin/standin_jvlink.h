#pragma once
// JV-Link stand-in: serves JV-Data files from the program folder's "jvlink"
// folder with the results and timing of the real component. The folder
// layout and the choices made here are described in docs/jvlink-standin.md.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "jvlink/jvlink.h"

namespace veltrix {

// Result codes of the component that the stand-in gives.
inline constexpr int kJVNoData = -1;             // open: nothing to deliver
inline constexpr int kJVBadDataSpec = -111;      // open: malformed data spec
inline constexpr int kJVBadFromTime = -112;      // open: from-time not 14 digits
inline constexpr int kJVBadKey = -114;           // real-time open / video: malformed key
inline constexpr int kJVBadOption = -115;        // open: option not 1 to 4
inline constexpr int kJVNotInitialised = -201;   // JVInit not called yet
inline constexpr int kJVAlreadyOpen = -202;      // previous session not closed
inline constexpr int kJVNotOpen = -203;          // read or status without a session
inline constexpr int kJVDownloadFailed = -502;   // download (or file access) failure
inline constexpr int kJVVideoNotStarted = -504;  // the desktop could not open the video

// Opens a video file with the desktop's player; true when it started.
using VideoOpener = std::function<bool(const std::filesystem::path&)>;

// Switches that make the stand-in fail the way the component can.
struct StandinFaults {
    int notInitialisedOpens = 0;     // the first N open calls return -201
    bool busyBeforeRecords = false;  // every record is preceded by one -3
    int statusFailureCode = 0;       // non-zero: JVStatus returns it (negative) ...
    int statusFailureAfter = 0;      // ... once this many files have downloaded
    int readFailureCode = 0;         // non-zero: the readFailureAt-th JVRead of a
    int readFailureAt = 1;           // session returns this code
    int initResult = 0;              // result of JVInit
    int setUIPropertiesResult = 0;   // result of JVSetUIProperties
    int readDelayMs = 0;             // every JVRead waits this long first: a slow component
};

// The faults a stand-in folder asks for in its "faults.txt" (lines "Key=value",
// for the desktop program under test): ReadDelayMs. Other lines are ignored;
// nothing changes without the file.
void ReadStandinFaults(const std::filesystem::path& folder, StandinFaults& faults);

struct StandinOptions {
    // false: every file counts as downloaded already (DownloadCount 0); for benchmarks.
    bool simulateDownload = true;
    // false: opens work without a preceding JVInit.
    bool requireInit = true;
    // Open result when nothing is to be delivered. The component gives -1; 0 opens
    // an empty session (read count 0) instead.
    int noDataResult = kJVNoData;
    StandinFaults faults;
    VideoOpener videoOpener;  // empty: the desktop's player (platform::OpenWithDesktop)
};

// How often each operation was called; tests check the session procedure with it.
struct StandinCalls {
    int init = 0, setUIProperties = 0, open = 0, rtOpen = 0, status = 0, read = 0, skip = 0, close = 0,
        mvCheck = 0, mvPlay = 0;
};

// The stand-in folder of a program folder.
inline std::filesystem::path StandinFolder(const std::filesystem::path& programFolder) {
    return programFolder / "jvlink";
}

class StandinJVLink final : public JVLink {
public:
    explicit StandinJVLink(std::filesystem::path folder, StandinOptions options = {});

    int JVInit(const std::string& softwareId) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::string& dataSpec, const std::string& fromTime, int option, int& readCount,
               int& downloadCount, std::string& lastFileTimeStamp) override;
    int JVRTOpen(const std::string& dataSpec, const std::string& key) override;
    int JVStatus() override;
    int JVRead(std::string& buff, int size, std::string& fileName) override;
    int JVSkip() override;
    int JVClose() override;
    long long TotalReadFilesize() const override;
    std::string CurrentFileTimeStamp() const override;
    int JVMVCheck(const std::string& raceId) override;
    int JVMVPlay(const std::string& raceId) override;

    void setVideoOpener(VideoOpener opener) { options_.videoOpener = std::move(opener); }
    StandinOptions& options() { return options_; }
    const StandinCalls& calls() const { return calls_; }
    bool sessionOpen() const { return open_; }
    const std::string& softwareId() const { return softwareId_; }

private:
    struct DataFile {
        std::filesystem::path path;
        std::string name;
        std::string stamp;  // 14 digits; empty for real-time files
        std::uintmax_t size = 0;
    };

    int noData(int& readCount, int& downloadCount, std::string& lastFileTimeStamp);
    void startSession(std::vector<DataFile> files, int downloadCount);
    bool readable(int index) const;
    bool loadFile(int index);
    std::filesystem::path findVideo(const std::string& raceId) const;

    std::filesystem::path folder_;
    StandinOptions options_;
    StandinCalls calls_;
    std::string softwareId_;
    bool initialised_ = false;
    int notInitialisedLeft_ = 0;

    bool open_ = false;
    std::vector<DataFile> files_;
    int downloadCount_ = 0;
    int downloaded_ = 0;
    int sessionReads_ = 0;
    long long totalSizeKb_ = 0;
    int current_ = -1;        // index of the file being read, -1 before the first
    bool atFileEnd_ = false;  // the end of the current file has been reported (-1)
    std::string content_;     // bytes of the current file
    std::size_t pos_ = 0;
    bool busyGiven_ = false;  // the -3 before the next record has been returned
    std::string currentStamp_;
};

}  // namespace veltrix
