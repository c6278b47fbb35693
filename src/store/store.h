#pragma once
// The weekly store: races, runners and past runs of the imported week.
#include <string>

#include "store/table.h"

namespace veltrix {

inline constexpr int kRaceInfoCols = 5;
inline constexpr int kUmaInfoCols = 35;
inline constexpr int kHistoryInfoCols = 43;

struct Store {
    std::string DataMode;  // "KONSYU", "TOKUBETSU" or empty
    int RaceCount = 0;
    int UmaCount = 0;
    int HistoryCount = 0;
    TextTable RaceInfo;              // RaceCount x 5
    TextTable UmaInfo;               // UmaCount x 35
    TextTable HistoryInfo;           // HistoryCount x 43
    Array1<std::string> RaceLabel;   // per race
    Array1<std::string> RaceIdList;  // per race
    Array1<std::string> UmaKey;      // race id + horse number, per runner
    Array1<std::string> HistoryKey;  // UmaCode + race id, per past run
};

}  // namespace veltrix
