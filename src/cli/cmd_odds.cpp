// veltrix-cli odds RACEID: the odds tables and value ratios read from cache4.
#include <filesystem>
#include <memory>
#include <ostream>

#include "base/folders.h"
#include "base/format.h"
#include "cli/command.h"
#include "store/race_files.h"

namespace veltrix::cli {
namespace {

std::string ratio(double v) { return FormatNumber(v, "0.0000"); }
std::string score(double v) { return FormatNumber(v, "0.0000"); }

int runOdds(Context& ctx, const std::string& raceId) {
    const Folders folders = Folders::under(ctx.root);
    auto path = RaceFilePath(folders, '4', raceId);
    if (!path) {
        ctx.err << "not a race id: " << raceId << "\n";
        return 1;
    }
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) {
        ctx.err << "no odds file: " << path->string() << "\n";
        return 1;
    }
    OddsTables o;
    if (ReadOddsCache(folders, raceId, o) != 0) {
        ctx.err << "the odds file could not be read and was deleted\n";
        return 1;
    }
    auto& out = ctx.out;
    out << "OddsCount\t" << o.OddsCount << "\n";
    for (int h = 1; h <= kHorseMax; ++h)
        out << "horse\t" << h << "\t" << score(o.OddsHensachi(h)) << "\t" << ratio(o.TansyoShijiritsu(h))
            << "\t" << ratio(o.UmarenShijiritsu(h)) << "\n";
    // Entries without data (state 0) are left out.
    for (int h = 1; h <= kHorseMax; ++h) {
        const auto& e = o.TansyoOdds(h);
        if (e.state != kOddsNoData) out << "tansyo\t" << h << "\t" << e.state << "\t" << e.odds << "\n";
    }
    for (int h = 1; h <= kHorseMax; ++h) {
        const auto& e = o.FukusyoOdds(h);
        if (e.lowState != kOddsNoData || e.highState != kOddsNoData)
            out << "fukusyo\t" << h << "\t" << e.lowState << "\t" << e.lowOdds << "\t" << e.highState << "\t"
                << e.highOdds << "\n";
    }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            const auto& e = o.UmarenOdds(i, j);
            if (e.state != kOddsNoData)
                out << "umaren\t" << i << "\t" << j << "\t" << e.state << "\t" << e.odds << "\t"
                    << ratio(o.UmarenKairi(i, j)) << "\n";
        }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            const auto& e = o.WideOdds(i, j);
            if (e.lowState != kOddsNoData || e.highState != kOddsNoData)
                out << "wide\t" << i << "\t" << j << "\t" << e.lowState << "\t" << e.lowOdds << "\t"
                    << e.highState << "\t" << e.highOdds << "\n";
        }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            const auto& e = o.UmatanOdds(i, j);
            if (e.state != kOddsNoData)
                out << "umatan\t" << i << "\t" << j << "\t" << e.state << "\t" << e.odds << "\t"
                    << ratio(o.UmatanKairi(i, j)) << "\n";
        }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j)
            for (int k = 1; k <= kHorseMax; ++k) {
                const auto& e = o.SanrenpukuOdds(i, j, k);
                if (e.state != kOddsNoData)
                    out << "sanrenpuku\t" << i << "\t" << j << "\t" << k << "\t" << e.state << "\t" << e.odds
                        << "\t" << ratio(o.SanrenpukuKairi(i, j, k)) << "\n";
            }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j)
            for (int k = 1; k <= kHorseMax; ++k) {
                const auto& e = o.SanrentanOdds(i, j, k);
                if (e.state != kOddsNoData)
                    out << "sanrentan\t" << i << "\t" << j << "\t" << k << "\t" << e.state << "\t" << e.odds
                        << "\t" << ratio(o.SanrentanKairi(i, j, k)) << "\n";
            }
    return 0;
}

void addOdds(CLI::App& cli, Context& ctx) {
    auto raceId = std::make_shared<std::string>();
    auto* cmd = cli.add_subcommand("odds", "Odds tables and value ratios of the race's odds file (cache4)");
    cmd->add_option("RACEID", *raceId, "Race id (16 digits)")->required();
    cmd->callback([&ctx, raceId] { ctx.status = runOdds(ctx, *raceId); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addOdds);

}  // namespace veltrix::cli
