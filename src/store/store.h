#pragma once
// The weekly store: races, runners and past runs of the imported week.
#include <string>

#include "base/table.h"

namespace veltrix {

inline constexpr int kRaceInfoCols = 5;
inline constexpr int kUmaInfoCols = 35;
inline constexpr int kHistoryInfoCols = 43;

// Columns of RaceInfo.
namespace race_col {
inline constexpr int kRaceId = 1;
inline constexpr int kTorokuTosu = 2;  // registered runners: the rows of the race card
inline constexpr int kSyubetsuCode = 3;
inline constexpr int kJyokenCode = 4;
inline constexpr int kTrackCode = 5;
}  // namespace race_col

// Columns of UmaInfo: 1-12 from the weekly file, 13-35 from the analysis file.
namespace uma_col {
inline constexpr int kRaceId = 1;
inline constexpr int kUmaCode = 2;
inline constexpr int kWakuban = 3;
inline constexpr int kUmaban = 4;
inline constexpr int kBamei = 5;
inline constexpr int kSex = 6;
inline constexpr int kAge = 7;
inline constexpr int kFutan = 8;
inline constexpr int kKisyu = 9;
inline constexpr int kChokyosi = 10;
inline constexpr int kKisyuCode = 11;
inline constexpr int kChokyosiCode = 12;
inline constexpr int kKisyuX = 14;     // jockey figures 14-16
inline constexpr int kChokyosiX = 18;  // trainer figures 18-20
inline constexpr int kCombiX = 21;     // jockey-trainer figures 21-23
}  // namespace uma_col

// Columns of HistoryInfo: 1-31 from the weekly file, 32-42 from the analysis
// file, 43 set when the file is read.
namespace hist_col {
inline constexpr int kUmaCode = 1;
inline constexpr int kRaceId = 2;
inline constexpr int kDate = 3;
inline constexpr int kRaceName = 4;
inline constexpr int kSyubetsuName = 5;
inline constexpr int kKigoCode = 6;
inline constexpr int kJyuryoCode = 7;
inline constexpr int kJyokenName = 8;
inline constexpr int kCourseCode = 9;
inline constexpr int kKyori = 10;
inline constexpr int kTrack = 11;
inline constexpr int kSyubetsuCode = 12;
inline constexpr int kJyokenCode = 13;
inline constexpr int kTrackCode = 14;
inline constexpr int kBaba = 15;
inline constexpr int kTosu = 16;
inline constexpr int kWakuban = 17;
inline constexpr int kUmaban = 18;
inline constexpr int kSex = 19;
inline constexpr int kAge = 20;
inline constexpr int kFutan = 21;
inline constexpr int kKisyu = 22;
inline constexpr int kBataiju = 23;
inline constexpr int kZogen = 24;
inline constexpr int kIjyoCode = 25;
inline constexpr int kNyusenJyuni = 26;
inline constexpr int kKakuteiJyuni = 27;
inline constexpr int kTime = 28;
inline constexpr int kCorners = 29;
inline constexpr int kTanOdds = 30;
inline constexpr int kNinki = 31;
inline constexpr int kFigureFlag = 32;  // "1" when the analysis figures 33-42 are valid
inline constexpr int kFirstFigure = 33;
inline constexpr int kFigureCheck = 37;  // must be "1" as well
inline constexpr int kValidity = 43;      // "ON" / "OUT"
}  // namespace hist_col

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
