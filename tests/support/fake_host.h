#pragma once
// Scripted user and event pump for core tests.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "base/host.h"

namespace veltrix::test {

struct Message {
    std::string text;
    Icon icon;
};
struct Question {
    std::string text;
    Icon icon;
    bool defaultNo;
    bool okCancel = false;  // asked with OK/Cancel rather than Yes/No
};

class FakeUserInterface : public UserInterface {
public:
    // Answers given to askYesNo in order; when they run out the answer is Yes.
    std::deque<bool> answers;
    // Answers given to askOkCancel in order; when they run out the answer is OK.
    std::deque<bool> okCancelAnswers;
    std::deque<std::string> saveNames;

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<std::string> statuses;
    int progressMax = 0;
    int progress = 0;

    void showMessage(const std::string& text, Icon icon) override { messages.push_back({text, icon}); }
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override {
        questions.push_back({text, icon, defaultNo});
        if (answers.empty()) return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    bool askOkCancel(const std::string& text, Icon icon) override {
        questions.push_back({text, icon, false, true});
        if (okCancelAnswers.empty()) return true;
        bool a = okCancelAnswers.front();
        okCancelAnswers.pop_front();
        return a;
    }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        if (saveNames.empty()) return {};
        auto n = saveNames.front();
        saveNames.pop_front();
        return n;
    }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgressMax(int max) override { progressMax = max; }
    void setProgress(int value) override { progress = value; }
};

// Counts turns; raises the cancel flag at turn cancelAt (0 = never), as a
// cancel button pressed while that turn processes events.
class FakePump : public Pump {
public:
    int turns = 0;
    int cancelAt = 0;
    void processEvents() override {
        if (++turns == cancelAt) requestCancel();
    }
};

class FakeClock : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    void sleepMs(int ms) override { now += ms; }
};

// A fresh empty folder under the system temp folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes UTF-8 text to a file as CP932 (CR LF line ends are the caller's).
void WriteCp932(const std::filesystem::path& path, const std::string& utf8);
// Reads a CP932 file back as UTF-8.
std::string ReadCp932(const std::filesystem::path& path);

}  // namespace veltrix::test
