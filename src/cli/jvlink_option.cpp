#include "cli/jvlink_option.h"

#include <optional>
#include <ostream>
#include <string>

#include "jvlink/component.h"

namespace veltrix::cli {

std::unique_ptr<JVLink> OpenJVLink(Context& ctx, const StandinOptions& standinOptions) {
    std::string reason;
    std::optional<JVLinkChoice> choice = DefaultJVLinkChoice();
    if (!ctx.jvlink.empty()) choice = ParseJVLinkChoice(ctx.jvlink, reason);
    std::unique_ptr<JVLink> jv;
    if (choice) jv = MakeJVLink(*choice, ctx.root, standinOptions, reason);
    if (!jv) ctx.err << reason << "\n";
    return jv;
}

}  // namespace veltrix::cli
