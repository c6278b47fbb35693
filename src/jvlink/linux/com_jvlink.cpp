#include "jvlink/com_jvlink.h"

namespace veltrix {

std::unique_ptr<ComJVLink> ComJVLink::Create(const std::string& progId, std::string& reason) {
    reason = "JV-Link component \"" + progId + "\": COM components exist only on Windows";
    return nullptr;
}

bool ComComponentRegistered(const std::string&) { return false; }

}  // namespace veltrix
