// veltrix-cli sample DIR [--seed N] [--results-years N] [--jvlink-only]: a ready
// program folder with a generated sample world behind the JV-Link stand-in.
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"

namespace veltrix::cli {
namespace {

struct SampleArgs {
    std::string dir;
    long long seed = sample::SampleOptions{}.seed;
    long long resultsYears = sample::SampleOptions{}.resultsYears;
    bool jvlinkOnly = false;
};

int runSample(Context& ctx, const SampleArgs& args) {
    const std::string& dir = args.dir;
    sample::SampleOptions options;
    options.seed = static_cast<std::uint32_t>(args.seed);
    options.resultsYears = static_cast<int>(args.resultsYears);
    const auto started = std::chrono::steady_clock::now();
    const sample::SampleWorld world = sample::WriteSampleProgramFolder(dir, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    long long runners = static_cast<long long>(world.weekRunners.size());
    ctx.out << "races " << world.weekRaceIds.size() << ", runners " << runners << ", special registrations "
            << world.tokuRaceIds.size() << ", horses " << world.horses.size() << ", past runs "
            << world.pastRuns << "\n";
    ctx.out << "files " << world.files << ", records " << world.records << ", bytes " << world.bytes << ", "
            << static_cast<long long>(seconds * 1000) << " ms\n";
    if (args.jvlinkOnly) return 0;

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

void addSample(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<SampleArgs>();
    auto* cmd = cli.add_subcommand("sample", "Writes a ready program folder with a generated sample world");
    cmd->add_option("DIR", args->dir, "The program folder to write")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "--seed", args->seed, 0, 4294967295LL, "Seed of the world (default 1)");
    AddNumberOption(*cmd, "--results-years", args->resultsYears, 0, 30, "Years of results (default 1)");
    cmd->add_flag("--jvlink-only", args->jvlinkOnly,
                  "Write only the stand-in folder: no import, no analysis files");
    cmd->callback([&ctx, args] { ctx.status = runSample(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addSample);

}  // namespace veltrix::cli
