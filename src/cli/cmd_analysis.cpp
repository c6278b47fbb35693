// veltrix-cli analysis import [--service URL] [--cancel-after N]: the analysis-file
// import window's command against the service, every question answered Yes.
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/analysis_import_command.h"
#include "app/startup.h"
#include "cli/command.h"
#include "cli/console_host.h"
#include "cli/program_folder.h"

namespace veltrix::cli {
namespace {

struct AnalysisArgs {
    std::string service;     // empty: the compiled-in service or VELTRIX_SERVICE_URL
    long long cancelAt = 0;  // turn at which the cancel flag is raised; 0: never
};

int runAnalysisImport(Context& ctx, const AnalysisArgs& args) {
    std::optional<ServiceAddress> address;
    if (!args.service.empty()) {
        address = ParseServiceUrl(args.service);
    } else if (const char* url = std::getenv(kServiceUrlVariable); url != nullptr && *url != '\0') {
        address = ParseServiceUrl(url);
        if (!address) {
            ctx.err << kServiceUrlVariable << " is not a URL of the form http://HOST[:PORT]: " << url << "\n";
            return 1;
        }
    } else {
        address = ServiceAddressFromEnvironment();
    }

    Application app;
    StoreLoad load;
    if (OpenProgramFolder(ctx, app, load)) return 1;
    ConsoleUserInterface ui(ctx.out);
    CountingPump pump(args.cancelAt);
    const AnalysisImportResult result = ImportAnalysisFiles(app, {ui, pump, *address, {}});
    return !result.declined && result.result == 0 ? 0 : 1;
}

const CLI::Validator& ServiceUrl() {
    static const CLI::Validator v(
        [](std::string& text) {
            return ParseServiceUrl(text) ? std::string()
                                         : "not a URL of the form http://HOST[:PORT]: " + text;
        },
        "URL");
    return v;
}

void addAnalysis(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<AnalysisArgs>();
    auto* cmd = cli.add_subcommand("analysis", "Analysis files from the analysis-file service");
    cmd->require_subcommand(1);
    auto* import = cmd->add_subcommand(
        "import", "Downloads and merges the week's analysis files, answering every question Yes");
    import
        ->add_option("--service", args->service,
                     "The service, http://HOST[:PORT] (default: VELTRIX_SERVICE_URL "
                     "or the maker's service)")
        ->check(ServiceUrl());
    AddNumberOption(*import, "--cancel-after", args->cancelAt, 1, std::numeric_limits<long long>::max(),
                    "Raise the cancel flag at the N-th turn of the long loops");
    import->callback([&ctx, args] { ctx.status = runAnalysisImport(ctx, *args);
});
}  // namespace

}  // namespace veltrix::cli

VELTRIX_CLI_COMMAND(addAnalysis);

}  // namespace veltrix::cli
