// veltrix-cli sample DIR [--seed N] [--results-years N]: a ready program folder
// with a generated sample world behind the JV-Link stand-in.
#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include "cli/command.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "base/fields.h"

namespace veltrix::cli {
namespace {

std::optional<long long> numberArg(const std::string& text, long long lo, long long hi) {
    auto v = ParseInteger(text);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

int runSample(Context& ctx) {
    sample::SampleOptions options;
    std::string dir;
    bool jvlinkOnly = false;
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if ((a == "--seed" || a == "--results-years") && i + 1 < ctx.args.size()) {
            auto v = a == "--seed" ? numberArg(ctx.args[i + 1], 0, 4294967295LL)
                                   : numberArg(ctx.args[i + 1], 0, 30);
            if (!v) {
                ctx.err << "invalid value for " << a << ": " << ctx.args[i + 1] << "\n";
                return 1;
            }
            if (a == "--seed") {
                options.seed = static_cast<std::uint32_t>(*v);
            } else {
                options.resultsYears = static_cast<int>(*v);
            }
            ++i;
        } else if (a == "--jvlink-only") {
            jvlinkOnly = true;
        } else if (dir.empty() && !a.empty() && a[0] != '-') {
            dir = a;
        } else {
            ctx.err << "usage: veltrix-cli sample DIR [--seed N] [--results-years N] [--jvlink-only]\n";
            return 1;
        }
    }
    if (dir.empty()) {
        ctx.err << "usage: veltrix-cli sample DIR [--seed N] [--results-years N] [--jvlink-only]\n";
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    const sample::SampleWorld world = sample::WriteSampleProgramFolder(dir, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    long long runners = static_cast<long long>(world.weekRunners.size());
    ctx.out << "races " << world.weekRaceIds.size() << ", runners " << runners << ", special registrations "
            << world.tokuRaceIds.size() << ", horses " << world.horses.size() << ", past runs "
            << world.pastRuns << "\n";
    ctx.out << "files " << world.files << ", records " << world.records << ", bytes " << world.bytes << ", "
            << static_cast<long long>(seconds * 1000) << " ms\n";
    if (jvlinkOnly) return 0;

    std::string reason;
    const auto imported = sample::ImportSampleWeek(dir, options.seed, reason);
    if (!imported) {
        ctx.err << reason << "\n";
        return 1;
    }
    ctx.out << "imported races " << imported->races << ", runners " << imported->runners << ", past runs "
            << imported->pastRuns << ", analysis files " << imported->analysisFiles << ", condition records "
            << imported->conditionRecords << "\n";
    return 0;
}

}  // namespace

VELTRIX_CLI_COMMAND(sample, "sample", "sample DIR [--seed N] [--results-years N] [--jvlink-only]", runSample);

}  // namespace veltrix::cli
