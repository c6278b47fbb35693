#pragma once
// The bet list's comma-separated export: eleven plain fields per bet, CP932, CR LF.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/table.h"
#include "store/race_tables.h"

namespace veltrix {

// Bet type number of the export: 0 win, 1 place, 3 quinella, 4 wide, 5 exacta,
// 6 trio, 7 trifecta; nullopt for any other code.
std::optional<int> KaimeCsvTypeNumber(const std::string& shikibetsuCode);

// "R,,3,3,7,0,1000,,,," for a quinella on 3 and 7 of 1,000 yen in race R: race
// id, empty, type number, the three horse numbers without leading zeros (0
// where the type has fewer), the stake, four empty fields. nullopt for an
// unknown type or a combination without its horse numbers.
std::optional<std::string> KaimeCsvLine(const std::string& raceId, const KaimeRow& row);

// Writes one line per KaimeData row up to the first empty type code (at most
// 1000) through a temporary file in the target's folder, renamed over the
// target at the end. True on failure (an unknown bet, a write error): the
// target is then as it was. beforeRename is for tests.
bool WriteKaimeCsv(const std::filesystem::path& file, const std::string& raceId,
                   const Array1<KaimeRow>& kaimeData,
                   const std::function<bool(const std::filesystem::path&)>& beforeRename = {});

}  // namespace veltrix
