// veltrix-cli simulate RACEID yoso|kekka and simulate-model RACEID: the main
// window's two simulations and the race model window's START, run headless
// with a clock that only advances by the waits and keys held from given frames.
#include <memory>
#include <ostream>

#include "app/simulation_commands.h"
#include "app/startup.h"
#include "cli/command.h"
#include "cli/race_options.h"
#include "simulation/race_model.h"
#include "simulation/sim_script.h"

namespace veltrix::cli {
namespace {

// Prints the messages; the question to start is answered Yes.
class SimulationConsole final : public UserInterface {
public:
    explicit SimulationConsole(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text, Icon) override { out_ << text << "\n"; }
    bool askYesNo(const std::string&, Icon, bool) override { return true; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    std::ostream& out_;
};

// No window: the keys come from the script, the drawing goes nowhere.
class HeadlessStage final : public SimStage {
public:
    explicit HeadlessStage(std::vector<KeyStep> keys) : keyboard_(std::move(keys)) {}
    bool open(const LockedControls&, const SimGeometry&, int) override { return false; }
    SimKeyboard& keyboard() override { return keyboard_; }
    SimSurface& surface() override { return surface_; }
    void close(const LockedControls&) override {}

private:
    ScriptedKeyboard keyboard_;
    NullSurface surface_;
};

struct SimulateArgs {
    std::string raceId;
    std::string mode;
    std::string horse;  // simulate-model only: the horse named in SetRaceData
    CalculateArgs calc;
    long long seed = 1;
    std::string keys;
};

int printRun(Context& ctx, SimOutcome outcome, const SimResult& result) {
    if (outcome != SimOutcome::Ran) return 1;
    for (const SimFinish& f : result.order) ctx.out << f.horse << '\t' << f.frame << '\n';
    ctx.out << "frames\t" << result.frames << '\n' << "interval\t" << result.interval << '\n';
    return 0;
}

bool parseKeys(Context& ctx, const std::string& text, std::vector<KeyStep>& steps) {
    std::string reason;
    if (!ParseKeyScript(text, steps, reason)) return false;
    ctx.err << reason << "\n";
    return true;
}

int runSimulate(Context& ctx, const SimulateArgs& args) {
    std::vector<KeyStep> steps;
    if (parseKeys(ctx, args.keys, steps)) return 1;
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc)) return 1;
    SimulationConsole ui(ctx.out);
    HeadlessStage stage(std::move(steps));
    VirtualClock clock;
    SimRandom random(static_cast<std::uint64_t>(args.seed));
    SimResult result;
    const SimMode mode = args.mode == "yoso" ? SimMode::Yoso : SimMode::Kekka;
    return printRun(ctx, RunRaceSimulation(app, mode, ui, stage, clock, random, result), result);
}

int runSimulateModel(Context& ctx, const SimulateArgs& args) {
    std::vector<KeyStep> steps;
    if (parseKeys(ctx, args.keys, steps)) return 1;
    Application app;
    std::string reason;
    if (PrepareApplication(app, ctx.root, reason, false)) {
        ctx.err << reason << "\n";
        return 1;
    }
    RaceModel model;
    if (SetRaceData(model, app.folders.data, args.raceId, args.horse) == SeisekiFileStatus::Damaged) {
        ctx.err << "the race file is damaged: " << args.raceId << "\n";
        return 1;
    }
    SimulationConsole ui(ctx.out);
    HeadlessStage stage(std::move(steps));
    VirtualClock clock;
    SimRandom random(static_cast<std::uint64_t>(args.seed));
    SimResult result;
    return printRun(ctx, StartRaceModelSimulation(model, ui, stage, clock, random, result), result);
}

void addRunOptions(CLI::App& cmd, SimulateArgs& args) {
    AddNumberOption(cmd, "--seed", args.seed, 0, 4294967295LL, "Seed of the first gait frames (default 1)");
    cmd.add_option("--keys", args.keys,
                   "FRAME=KEYS,...: keys held from FRAME on (up, down, left, right, esc joined by +; none)")
        ->type_name("SCRIPT");
}

void addSimulate(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<SimulateArgs>();
    auto* cmd = cli.add_subcommand("simulate", "The prediction or result simulation of a race, headless");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    cmd->add_option("MODE", args->mode, "yoso (prediction) or kekka (result)")
        ->required()
        ->check(CLI::IsMember({"yoso", "kekka"}));
    AddCalculateOptions(*cmd, args->calc);
    addRunOptions(*cmd, *args);
    cmd->callback([&ctx, args] { ctx.status = runSimulate(ctx, *args); });
}

void addSimulateModel(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<SimulateArgs>();
    auto* cmd =
        cli.add_subcommand("simulate-model", "The race model window's START over a results-database race");
    cmd->add_option("RACEID", args->raceId, "Race id of the results database")->required()->check(NonEmpty());
    addRunOptions(*cmd, *args);
    cmd->callback([&ctx, args] { ctx.status = runSimulateModel(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addSimulate);
VELTRIX_CLI_COMMAND(addSimulateModel);

}  // namespace veltrix::cli
