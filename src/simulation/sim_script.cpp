#include "simulation/sim_script.h"

#include <algorithm>

#include "base/fields.h"

namespace veltrix {

namespace {

bool parseKeys(const std::string& text, SimKeys& keys) {
    keys = {};
    if (text == "none") return false;
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = std::min(text.find('+', begin), text.size());
        const std::string name = text.substr(begin, end - begin);
        if (name == "up")
            keys.up = true;
        else if (name == "down")
            keys.down = true;
        else if (name == "left")
            keys.left = true;
        else if (name == "right")
            keys.right = true;
        else if (name == "esc")
            keys.esc = true;
        else
            return true;
        begin = end + 1;
    }
    return false;
}

}  // namespace

bool ParseKeyScript(const std::string& text, std::vector<KeyStep>& steps, std::string& reason) {
    steps.clear();
    if (text.empty()) return false;
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = std::min(text.find(',', begin), text.size());
        const std::string item = text.substr(begin, end - begin);
        const size_t eq = item.find('=');
        const auto frame = eq == std::string::npos ? std::nullopt : ParseInteger(item.substr(0, eq));
        KeyStep step;
        if (!frame || *frame < 1 || *frame > 10'000'000 || parseKeys(item.substr(eq + 1), step.keys)) {
            reason = "invalid key step \"" + item +
                     "\", expected FRAME=KEYS with keys up, down, left, right, "
                     "esc joined by + or none";
            return true;
        }
        step.frame = static_cast<int>(*frame);
        if (!steps.empty() && step.frame <= steps.back().frame) {
            reason = "key steps must have rising frames: \"" + item + "\"";
            return true;
        }
        steps.push_back(step);
        begin = end + 1;
    }
    return false;
}

SimKeys ScriptedKeyboard::poll() {
    ++polls_;
    while (next_ < steps_.size() && steps_[next_].frame <= polls_) held_ = steps_[next_++].keys;
    return held_;
}

}  // namespace veltrix
