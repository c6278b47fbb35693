#pragma once
// Names of the race card's sheets and columns, and of the PastRuns fields: a
// routine writes `sheet1::kRLZ`, never 10, so a wrong column reads as a wrong name.
#include "base/sheet.h"

namespace veltrix {

// fpsSyuso's sheets.
inline constexpr int kSheetSyuso = 1;    // "出走表"
inline constexpr int kSheetKeibajo = 2;  // "競馬場"
inline constexpr int kSheetOdds = 3;     // "オッズ"

// Columns 1-5, the same on every sheet.
namespace card {
inline constexpr ColNo kSort{1};     // "SORT": position after the last header sort
inline constexpr ColNo kNo{2};       // "No.": horse number
inline constexpr ColNo kUmaCode{3};  // the key of the runner's row
inline constexpr ColNo kMark{4};     // "印"
inline constexpr ColNo kName{5};     // "馬名"
}  // namespace card

// Sheet 1 "出走表".
namespace sheet1 {
inline constexpr ColNo kSeirei{6};   // "性齢"
inline constexpr ColNo kFutan{7};    // "負担"
inline constexpr ColNo kSeiseki{8};  // "成績": running record of the used runs
inline constexpr ColNo kRL{9};
inline constexpr ColNo kRLZ{10};
inline constexpr ColNo kRLA{11};
inline constexpr ColNo kRLN{12};
inline constexpr ColNo kTZenhan{13};  // "T前"
inline constexpr ColNo kTKouhan{14};  // "T後"
inline constexpr ColNo kRZ{15};
inline constexpr ColNo kRA{16};
inline constexpr ColNo kRZenhan{17};  // "R前"
inline constexpr ColNo kRKouhan{18};  // "R後"
inline constexpr ColNo kYosoku{19};   // "予測": the condition-class prediction
inline constexpr ColNo kMD{20};
inline constexpr ColNo kSogo{21};  // "総合": the tuning-weight prediction
inline constexpr ColNo kKisyu{23};
inline constexpr ColNo kKisyuX{24};  // first of the three jockey figures
inline constexpr ColNo kChokyosi{28};
inline constexpr ColNo kChokyosiX{29};  // first of the three trainer figures
inline constexpr ColNo kCombiX{32};     // first of the three jockey-trainer figures
inline constexpr int kColumns = 34;
}  // namespace sheet1

// Sheet 2 "競馬場": R index by course and by distance.
namespace sheet2 {
inline constexpr ColNo kNakayama{6};
inline constexpr ColNo kKyoto{7};
inline constexpr ColNo kHanshin{8};
inline constexpr ColNo kMigiMawari{9};  // "右回り": 京都, 阪神, 中山
inline constexpr ColNo kNiigata{10};
inline constexpr ColNo kTokyo{11};
inline constexpr ColNo kChukyo{12};
inline constexpr ColNo kHidariMawari{13};  // "左回り": 中京, 東京, 新潟
inline constexpr ColNo kSapporo{14};
inline constexpr ColNo kHakodate{15};
inline constexpr ColNo kFukushima{16};
inline constexpr ColNo kKokura{17};
inline constexpr ColNo kLocal{18};  // "ﾛｰｶﾙ": 函館, 札幌, 福島, 小倉
inline constexpr ColNo kKyori1000{19};
inline constexpr ColNo kKyori1200{20};
inline constexpr ColNo kKyori1400{21};
inline constexpr ColNo kKyori1600{22};
inline constexpr ColNo kKyori1700{23};
inline constexpr ColNo kKyori1800{24};
inline constexpr ColNo kKyori2000{25};
inline constexpr ColNo kKyori2200{26};
inline constexpr ColNo kKyori2400{27};
inline constexpr ColNo kKyori2500{28};
inline constexpr ColNo kKyori3000{29};
inline constexpr ColNo kFirstFigure = kNakayama;
inline constexpr ColNo kLastFigure = kKyori3000;
inline constexpr int kColumns = 29;
}  // namespace sheet2

// Sheet 3 "オッズ".
namespace sheet3 {
inline constexpr ColNo kNinki{6};  // "人気": popularity figure
inline constexpr ColNo kNinkiJyuni{7};
inline constexpr ColNo kMining{8};  // "D.M."
inline constexpr ColNo kMiningJyuni{9};
inline constexpr ColNo kMiningSa{10};  // "⊿" of the forecast
inline constexpr ColNo kYosoku{11};    // "予測": the prediction as a deviation score
inline constexpr ColNo kYosokuJyuni{12};
inline constexpr ColNo kYosokuSa{13};
inline constexpr ColNo kKekka{14};  // "結果": result score
inline constexpr ColNo kKekkaNyusen{15};  // arrival order
inline constexpr ColNo kKekkaSa{16};
inline constexpr ColNo kKekkaJyuni{17};  // "結果N": arrival rank among the predicted runners
inline constexpr ColNo kKekkaZenhan{18};
inline constexpr ColNo kKekkaAgari{19};
inline constexpr ColNo kTansyo{20};
inline constexpr ColNo kTansyoRitsu{21};
inline constexpr ColNo kUmarenRitsu{22};
inline constexpr ColNo kFukusyoLo{23};
inline constexpr ColNo kFukusyoHi{24};
// The axis columns of the odds view: each odds column is followed by its value
// ratio ("EXP") except the wide pair.
inline constexpr ColNo kUmaren{25};
inline constexpr ColNo kUmarenExp{26};
inline constexpr ColNo kUmatan1{27};  // axis first, row horse second
inline constexpr ColNo kUmatan1Exp{28};
inline constexpr ColNo kUmatan2{29};  // row horse first, axis second
inline constexpr ColNo kUmatan2Exp{30};
inline constexpr ColNo kWideLo{31};
inline constexpr ColNo kWideHi{32};
inline constexpr ColNo kSanrenpuku{33};
inline constexpr ColNo kSanrenpukuExp{34};
// The six trifecta pattern columns (each followed by its EXP column): where the
// axis and the row horse finish.
inline constexpr ColNo kSanrentan12{35};  // axis 1st, row 2nd
inline constexpr ColNo kSanrentan13{37};  // axis 1st, row 3rd
inline constexpr ColNo kSanrentan21{39};  // row 1st, axis 2nd
inline constexpr ColNo kSanrentan23{41};  // axis 2nd, row 3rd
inline constexpr ColNo kSanrentan31{43};  // row 1st, axis 3rd
inline constexpr ColNo kSanrentan32{45};  // row 2nd, axis 3rd
inline constexpr ColNo kLastOdds{46};
inline constexpr int kColumns = 46;
}  // namespace sheet3

// PastRuns fields (1..32) of one run.
namespace run {
inline constexpr int kRaceId = 1;
inline constexpr int kDate = 2;  // YYYY/MM/DD; empty marks the first unused slot
inline constexpr int kRaceName = 3;
inline constexpr int kSyubetsuCode = 4;
inline constexpr int kJyokenCode = 5;
inline constexpr int kTrackCode = 6;
inline constexpr int kJyokenName = 7;
inline constexpr int kCourse = 8;  // course name
inline constexpr int kTrack = 9;   // "芝", "ダ", "障"
inline constexpr int kKyori = 10;
inline constexpr int kBaba = 11;
inline constexpr int kTosu = 12;
inline constexpr int kKisyu = 13;
inline constexpr int kFutan = 14;
inline constexpr int kNinki = 15;
inline constexpr int kBataiju = 16;
inline constexpr int kCorners = 17;
inline constexpr int kJyuni = 18;  // final placing
inline constexpr int kRL = 19;     // first of the run figures 19-29
inline constexpr int kRLZ = 20;
inline constexpr int kRLA = 21;
inline constexpr int kPZenhan = 22;
inline constexpr int kPKouhan = 23;
inline constexpr int kTZenhan = 24;
inline constexpr int kTKouhan = 25;
inline constexpr int kRZenhan = 26;
inline constexpr int kRKouhan = 27;
inline constexpr int kMD = 28;
inline constexpr int kRIndex = 29;  // "総合"
inline constexpr int kAge = 30;
inline constexpr int kValidity = 31;  // "ON" / "OUT"
inline constexpr int kUseFlag = 32;   // "ON" when the last calculation used the run
}  // namespace run

}  // namespace veltrix
