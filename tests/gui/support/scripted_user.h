#pragma once
// A user for the window tests: answers every question Yes and keeps the
// questions and messages it was shown.
#include <QStringList>
#include <string>

#include "base/host.h"

namespace veltrix::test {

class ScriptedUser final : public UserInterface {
public:
    QStringList questions, messages;
    void showMessage(const std::string& text, Icon) override { messages << QString::fromStdString(text); }
    bool askYesNo(const std::string& text, Icon, bool) override {
        questions << QString::fromStdString(text);
        return true;
    }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}
};

}  // namespace veltrix::test
