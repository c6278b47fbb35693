#include "jvlink/component.h"

#include <algorithm>

#include "jvlink/com_jvlink.h"

namespace veltrix {

namespace {

constexpr const char* kComPrefix = "com:";

// A ProgID is letters, digits, periods and underscores, starts with a letter and
// has at most 39 characters.
bool validProgId(const std::string& id) {
    if (id.empty() || id.size() > 39) return false;
    auto letter = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(static_cast<unsigned char>(id.front()))) return false;
    return std::all_of(id.begin(), id.end(), [&](unsigned char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_';
    });
}

}  // namespace

std::optional<JVLinkChoice> ParseJVLinkChoice(const std::string& text, std::string& reason) {
    if (text == "standin") return JVLinkChoice{JVLinkChoice::Kind::Standin, {}};
    if (text == "com") return JVLinkChoice{JVLinkChoice::Kind::Com, kJVLinkProgId};
    if (text.rfind(kComPrefix, 0) == 0) {
        const std::string id = text.substr(std::string(kComPrefix).size());
        if (validProgId(id)) return JVLinkChoice{JVLinkChoice::Kind::Com, id};
        reason = "not a ProgID: \"" + id + "\" (letters, digits, periods and underscores, starting with a letter, at most 39)";
        return std::nullopt;
    }
    reason = "unknown JV-Link component \"" + text + "\" (standin, com or com:PROGID)";
    return std::nullopt;
}

std::string JVLinkChoiceText(const JVLinkChoice& choice) {
    return choice.kind == JVLinkChoice::Kind::Standin ? "standin" : kComPrefix + choice.progId;
}

JVLinkChoice DefaultJVLinkChoice(const std::function<bool(const std::string&)>& registered) {
    if (registered(kJVLinkProgId)) return {JVLinkChoice::Kind::Com, kJVLinkProgId};
    return {JVLinkChoice::Kind::Standin, {}};
}

JVLinkChoice DefaultJVLinkChoice() { return DefaultJVLinkChoice(ComComponentRegistered); }

std::unique_ptr<JVLink> MakeJVLink(const JVLinkChoice& choice, const std::filesystem::path& programFolder,
                                   const StandinOptions& standinOptions, std::string& reason) {
    if (choice.kind == JVLinkChoice::Kind::Standin)
        return std::make_unique<StandinJVLink>(StandinFolder(programFolder), standinOptions);
    return ComJVLink::Create(choice.progId, reason);
}

}  // namespace veltrix
