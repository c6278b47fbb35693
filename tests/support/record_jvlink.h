#pragma once
// A JV-Link that hands over given records, one file per data spec, exactly as
// they are: unlike a stand-in folder, whose files are cut into records at line
// ends, a record may hold any byte. For tests and fuzzing of the imports.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "jvlink/jvlink.h"

namespace veltrix::test {

class RecordJVLink final : public JVLink {
public:
    // The records of one data spec (CP932 bytes, each with its CR LF, if any).
    std::map<std::string, std::vector<std::string>> records;

    int JVInit(const std::string&) override { return 0; }
    int JVSetUIProperties() override { return 0; }
    int JVOpen(const std::string& dataSpec, const std::string&, int, int& readCount, int& downloadCount,
               std::string& lastFileTimeStamp) override {
        auto it = records.find(dataSpec);
        if (it == records.end() || it->second.empty()) return -1;  // no data
        open_ = &it->second;
        next_ = 0;
        readCount = 1;
        downloadCount = 0;
        lastFileTimeStamp = kStamp;
        return 0;
    }
    int JVRTOpen(const std::string&, const std::string&) override { return -1; }
    int JVStatus() override { return 0; }
    int JVRead(std::string& buff, int size, std::string& fileName) override {
        if (!open_) return -201;
        fileName = "record.txt";
        if (next_ >= open_->size()) return 0;
        const std::string& record = (*open_)[next_++];
        // A record longer than the buffer is cut; an empty one reads as one byte.
        buff.assign(record, 0, static_cast<size_t>(size > 1 ? size - 1 : 1));
        if (buff.empty()) buff = " ";
        return static_cast<int>(buff.size());
    }
    int JVSkip() override {
        if (open_) next_ = open_->size();
        return 0;
    }
    int JVClose() override {
        open_ = nullptr;
        return 0;
    }
    long long TotalReadFilesize() const override { return 1; }
    std::string CurrentFileTimeStamp() const override { return kStamp; }
    int JVMVCheck(const std::string&) override { return 0; }
    int JVMVPlay(const std::string&) override { return -1; }

private:
    static constexpr const char* kStamp = "20090115120000";
    const std::vector<std::string>* open_ = nullptr;
    size_t next_ = 0;
};

}  // namespace veltrix::test
