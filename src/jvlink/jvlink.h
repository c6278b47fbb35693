#pragma once
// JV-Link's operations as the system calls them. The stand-in in standin/
// implements this over a folder; a binding to the real component can be
// added later behind the same class.
#include <string>

namespace veltrix {

inline constexpr const char* SoftwareId = "QT517204/QT880913/VELTRIX/Ver.2.8.3";

class JVLink {
public:
    virtual ~JVLink() = default;
    // 0 = ready; anything else = failure.
    virtual int JVInit(const std::string& softwareId) = 0;
    // 0 = settings dialog closed normally; else an error code.
    virtual int JVSetUIProperties() = 0;
    // 0 = session open; -201 = not initialised; other = failure (including no data).
    virtual int JVOpen(const std::string& dataSpec, const std::string& fromTime, int option, int& readCount,
                       int& downloadCount, std::string& lastFileTimeStamp) = 0;
    virtual int JVRTOpen(const std::string& dataSpec, const std::string& key) = 0;
    // Files downloaded so far; negative = failure.
    virtual int JVStatus() = 0;
    // > 0: one record (CP932 bytes, with its CR LF) is in buff and the value is its
    // length in bytes; 0 = all read; -1 = switched to the next file; -3 = still
    // downloading; other negative = failure. size is the caller's buffer size.
    virtual int JVRead(std::string& buff, int size, std::string& fileName) = 0;
    // Skips the rest of the current file.
    virtual int JVSkip() = 0;
    virtual int JVClose() = 0;
    // Total size of what the open session delivers, in units of 1024 bytes.
    virtual long long TotalReadFilesize() const = 0;
    // 14-digit time stamp of the file last read.
    virtual std::string CurrentFileTimeStamp() const = 0;
    // 1 = a video of the race exists.
    virtual int JVMVCheck(const std::string& raceId) = 0;
    // 0 = playback started.
    virtual int JVMVPlay(const std::string& raceId) = 0;
};

}  // namespace veltrix
