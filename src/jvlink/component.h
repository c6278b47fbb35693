#pragma once
// Which JV-Link the program drives: the stand-in over the program folder's
// "jvlink" folder, or a COM component named by its ProgID (JV-Link's own by
// default). The command line and the windows choose by the same rule.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "jvlink/jvlink.h"
#include "jvlink/standin/standin_jvlink.h"

namespace veltrix {

struct JVLinkChoice {
    enum class Kind { Standin, Com };
    Kind kind = Kind::Standin;
    std::string progId;  // Com only

    bool operator==(const JVLinkChoice&) const = default;
};

// "standin", "com" (JV-Link, ProgID "JVDTLab.JVLink") or "com:PROGID". Nothing,
// with a one-line reason, for any other text.
std::optional<JVLinkChoice> ParseJVLinkChoice(const std::string& text, std::string& reason);

// The text ParseJVLinkChoice reads back into the same choice.
std::string JVLinkChoiceText(const JVLinkChoice& choice);

// JV-Link when it is registered on this machine, else the stand-in.
JVLinkChoice DefaultJVLinkChoice();
JVLinkChoice DefaultJVLinkChoice(const std::function<bool(const std::string& progId)>& registered);

// The JV-Link of the choice for a program folder: the stand-in with the given
// options, or the COM component created on the calling thread. Null, with a
// one-line reason, when the component cannot be created.
std::unique_ptr<JVLink> MakeJVLink(const JVLinkChoice& choice, const std::filesystem::path& programFolder,
                                   const StandinOptions& standinOptions, std::string& reason);

}  // namespace veltrix
