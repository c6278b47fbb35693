#include "betting/kaime_csv.h"

#include "base/encoding.h"
#include "betting/kaime_list.h"

namespace veltrix {

std::optional<int> KaimeCsvTypeNumber(const std::string& code) {
    static constexpr std::pair<const char*, int> kNumbers[] = {{"1", 0}, {"2", 1}, {"4", 3}, {"5", 4},
                                                               {"6", 5}, {"7", 6}, {"8", 7}};
    for (const auto& [c, n] : kNumbers)
        if (code == c) return n;
    return std::nullopt;
}

std::optional<std::string> KaimeCsvLine(const std::string& raceId, const KaimeRow& row) {
    auto type = KaimeCsvTypeNumber(row.ShikibetsuCode);
    if (!type) return std::nullopt;
    int horses[3] = {0, 0, 0};
    for (int i = 1; i <= KaimeHorseCount(row.ShikibetsuCode); ++i) {
        auto h = KumibanHorse(row.Kumiban, i);
        if (!h) return std::nullopt;
        horses[i - 1] = *h;
    }
    return raceId + ",," + std::to_string(*type) + "," + std::to_string(horses[0]) + "," +
           std::to_string(horses[1]) + "," + std::to_string(horses[2]) + "," + row.Kingaku + ",,,,";
}

bool WriteKaimeCsv(const std::filesystem::path& file, const std::string& raceId, const Array1<KaimeRow>& rows,
                   const std::function<bool(const std::filesystem::path&)>& beforeRename) {
    std::string text;
    for (int r = 1; r <= rows.size() && r <= kKaimeRows && !rows[r].ShikibetsuCode.empty(); ++r) {
        auto line = KaimeCsvLine(raceId, rows[r]);
        if (!line) return true;
        text += *line + "\r\n";
    }
    auto bytes = Utf8ToCp932(text);
    return !bytes || !WriteFileAtomically(file, *bytes, beforeRename);
}

}  // namespace veltrix
