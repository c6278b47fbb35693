#pragma once
// JV-Data records cut into text fields.
//
// A record is CP932 bytes; every field is cut by 1-based byte position and
// length, then decoded to UTF-8 and kept exactly as delivered (padding
// included): the consumers trim or convert. The layout of each record type is
// written once, as a visit over its fields, and serves both the parsers here
// and the record writers of the sample generator.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace veltrix {

// Record lengths in bytes, CR LF included.
inline constexpr std::size_t kRaLength = 1272;
inline constexpr std::size_t kSeLength = 555;
inline constexpr std::size_t kTkLength = 21657;
inline constexpr std::size_t kO1Length = 962;
inline constexpr std::size_t kO2Length = 2042;
inline constexpr std::size_t kO3Length = 2654;
inline constexpr std::size_t kO4Length = 4031;
inline constexpr std::size_t kO5Length = 12293;
inline constexpr std::size_t kO6Length = 83285;
inline constexpr std::size_t kDmLength = 303;

enum class RecordType { RA, SE, TK, O1, O2, O3, O4, O5, O6, DM };

// The two-letter code and the full length of a type.
std::string_view RecordTypeCode(RecordType type);
std::size_t RecordLength(RecordType type);

// The type of a record from its first two bytes; nullopt for any type this
// system does not read (those records are never parsed).
std::optional<RecordType> RecordTypeOf(std::string_view record);

// Whether the first two bytes are the code of a JV-Data record kind, one this
// system reads or any other (HR, UM, JG, ...). Anything else is not a record.
bool IsJVDataRecordKind(std::string_view record);

// The 16-character race id (positions 12-27); empty when the record is too
// short or those bytes are not digits.
std::string RaceIdOf(std::string_view record);

// Header shared by every record used here: type, data category, creation date
// and the race key.
struct RecordHeader {
    std::string recordType;    // 1(2)
    std::string dataCategory;  // 3(1)
    std::string creationDate;  // 4(8) yyyymmdd
    std::string year;          // 12(4)
    std::string monthDay;      // 16(4)
    std::string courseCode;    // 20(2)
    std::string meeting;       // 22(2) 開催回
    std::string day;           // 24(2) 日目
    std::string raceNumber;    // 26(2)
    std::string raceId() const { return year + monthDay + courseCode + meeting + day + raceNumber; }
    bool operator==(const RecordHeader&) const = default;
};

struct CornerPassing {
    std::string corner;    // +0(1)
    std::string lapCount;  // +1(1)
    std::string order;     // +2(70)
    bool operator==(const CornerPassing&) const = default;
};

// RA: race details.
struct RaRecord : RecordHeader {
    std::string weekdayCode;        // 28(1)
    std::string specialRaceNumber;  // 29(4)
    std::string raceName;           // 33(60) main title
    std::string raceNameSub;        // 93(60)
    std::string raceNameParen;      // 153(60)
    std::string raceNameEng;        // 213(120)
    std::string raceNameSubEng;     // 333(120)
    std::string raceNameParenEng;   // 453(120)
    std::string raceNameShort10;    // 573(20)
    std::string raceNameShort6;     // 593(12)
    std::string raceNameShort3;     // 605(6)
    std::string raceNameCategory;   // 611(1)
    std::string gradeEdition;       // 612(3)
    std::string gradeCode;          // 615(1)
    std::string gradeCodeBefore;    // 616(1)
    std::string raceTypeCode;       // 617(2)
    std::string raceSymbolCode;     // 619(3)
    std::string weightRuleCode;     // 622(1)
    // 623, 626, 629, 632 (2yo, 3yo, 4yo, 5yo+) and 635 (youngest eligible age), 3 each
    std::array<std::string, 5> conditionCodes;
    std::string conditionName;                    // 638(60)
    std::string distance;                         // 698(4)
    std::string distanceBefore;                   // 702(4)
    std::string trackCode;                        // 706(2)
    std::string trackCodeBefore;                  // 708(2)
    std::string courseLayout;                     // 710(2)
    std::string courseLayoutBefore;               // 712(2)
    std::array<std::string, 7> prizeMoney;        // 714, 8 each
    std::array<std::string, 5> prizeMoneyBefore;  // 770, 8 each
    std::array<std::string, 5> addedMoney;        // 810, 8 each
    std::array<std::string, 3> addedMoneyBefore;  // 850, 8 each
    std::string startTime;                        // 874(4) hhmm
    std::string startTimeBefore;                  // 878(4)
    std::string registeredCount;                  // 882(2)
    std::string starterCount;                     // 884(2)
    std::string finisherCount;                    // 886(2)
    std::string weatherCode;                      // 888(1)
    std::string turfGoing;                        // 889(1)
    std::string dirtGoing;                        // 890(1)
    std::array<std::string, 25> lapTimes;         // 891, 3 each
    std::string jumpMileTime;                     // 966(4)
    std::string first3F;                          // 970(3)
    std::string first4F;                          // 973(3)
    std::string last3F;                           // 976(3)
    std::string last4F;                           // 979(3)
    std::array<CornerPassing, 4> corners;         // 982, 72 each
    std::string recordUpdate;                     // 1270(1)
    // The condition code of the youngest eligible age group (the fifth one).
    const std::string& youngestCondition() const { return conditionCodes[4]; }
    bool operator==(const RaRecord&) const = default;
};

struct SeOpponent {
    std::string umaCode;  // +0(10)
    std::string name;     // +10(36)
    bool operator==(const SeOpponent&) const = default;
};

// SE: one runner in a race.
struct SeRecord : RecordHeader {
    std::string frameNumber;                     // 28(1)
    std::string horseNumber;                     // 29(2)
    std::string umaCode;                         // 31(10) blood registration number
    std::string horseName;                       // 41(36)
    std::string horseSymbol;                     // 77(2)
    std::string sexCode;                         // 79(1)
    std::string breedCode;                       // 80(1)
    std::string coatColour;                      // 81(2)
    std::string age;                             // 83(2)
    std::string eastWest;                        // 85(1)
    std::string trainerCode;                     // 86(5)
    std::string trainerName;                     // 91(8) short name
    std::string ownerCode;                       // 99(6)
    std::string ownerName;                       // 105(64)
    std::string colours;                         // 169(60)
    std::string reserved1;                       // 229(60)
    std::string weightCarried;                   // 289(3) 0.1 kg
    std::string weightCarriedBefore;             // 292(3)
    std::string blinkers;                        // 295(1)
    std::string reserved2;                       // 296(1)
    std::string jockeyCode;                      // 297(5)
    std::string jockeyCodeBefore;                // 302(5)
    std::string jockeyName;                      // 307(8) short name
    std::string jockeyNameBefore;                // 315(8)
    std::string apprentice;                      // 323(1)
    std::string apprenticeBefore;                // 324(1)
    std::string bodyWeight;                      // 325(3)
    std::string weightSign;                      // 328(1)
    std::string weightChange;                    // 329(3)
    std::string abnormality;                     // 332(1)
    std::string arrivalOrder;                    // 333(2)
    std::string finalPlacing;                    // 335(2)
    std::string deadHeat;                        // 337(1)
    std::string deadHeatCount;                   // 338(1)
    std::string raceTime;                        // 339(4) m ss f
    std::string margin;                          // 343(3)
    std::string marginPlus;                      // 346(3)
    std::string marginPlusPlus;                  // 349(3)
    std::array<std::string, 4> cornerPositions;  // 352, 354, 356, 358
    std::string winOdds;                         // 360(4)
    std::string popularity;                      // 364(2)
    std::string prizeMoney;                      // 366(8)
    std::string addedMoney;                      // 374(8)
    std::string reserved3;                       // 382(3)
    std::string reserved4;                       // 385(3)
    std::string last4F;                          // 388(3)
    std::string last3F;                          // 391(3)
    std::array<SeOpponent, 3> opponents;         // 394, 46 each
    std::string timeDifference;                  // 532(4)
    std::string recordUpdate;                    // 536(1)
    std::string miningCategory;                  // 537(1)
    std::string miningTime;                      // 538(5)
    std::string miningErrorPlus;                 // 543(4)
    std::string miningErrorMinus;                // 547(4)
    std::string miningRank;                      // 551(2)
    std::string runningStyle;                    // 553(1)
    bool operator==(const SeRecord&) const = default;
};

// One block of a special registration, 70 bytes from 656 + 70 n.
struct TkHorse {
    std::string sequence;       // +0(3)
    std::string umaCode;        // +3(10)
    std::string horseName;      // +13(36)
    std::string horseSymbol;    // +49(2)
    std::string sexCode;        // +51(1)
    std::string eastWest;       // +52(1)
    std::string trainerCode;    // +53(5)
    std::string trainerName;    // +58(8)
    std::string weightCarried;  // +66(3)
    std::string exchange;       // +69(1)
    bool operator==(const TkHorse&) const = default;
};

inline constexpr std::size_t kTkHorseBlocks = 300;

// TK: special registration of one race.
struct TkRecord : RecordHeader {
    std::string weekdayCode;                    // 28(1)
    std::string specialRaceNumber;              // 29(4)
    std::string raceName;                       // 33(60)
    std::string raceNameSub;                    // 93(60)
    std::string raceNameParen;                  // 153(60)
    std::string raceNameEng;                    // 213(120)
    std::string raceNameSubEng;                 // 333(120)
    std::string raceNameParenEng;               // 453(120)
    std::string raceNameShort10;                // 573(20)
    std::string raceNameShort6;                 // 593(12)
    std::string raceNameShort3;                 // 605(6)
    std::string raceNameCategory;               // 611(1)
    std::string gradeEdition;                   // 612(3)
    std::string gradeCode;                      // 615(1)
    std::string raceTypeCode;                   // 616(2)
    std::string raceSymbolCode;                 // 618(3)
    std::string weightRuleCode;                 // 621(1)
    std::array<std::string, 5> conditionCodes;  // 622, 625, 628, 631, 634
    std::string distance;                       // 637(4)
    std::string trackCode;                      // 641(2)
    std::string courseLayout;                   // 643(2)
    std::string handicapDate;                   // 645(8)
    std::string registeredCount;                // 653(3)
    std::array<TkHorse, kTkHorseBlocks> horses;
    const std::string& youngestCondition() const { return conditionCodes[4]; }
    bool operator==(const TkRecord&) const = default;
};

// The registered horses of a TK record: the blocks before the first one whose
// blood registration number is blank. The registered-count field is not
// trusted for this; the blocks are.
std::span<const TkHorse> RegisteredHorses(const TkRecord& tk);
bool IsBlankField(std::string_view text);  // only half- or full-width spaces (or empty)

struct WinEntry {
    std::string horseNumber;  // +0(2)
    std::string odds;         // +2(4)
    std::string popularity;   // +6(2)
    bool operator==(const WinEntry&) const = default;
};
struct PlaceEntry {
    std::string horseNumber;  // +0(2)
    std::string lowOdds;      // +2(4)
    std::string highOdds;     // +6(4)
    std::string popularity;   // +10(2)
    bool operator==(const PlaceEntry&) const = default;
};
struct BracketEntry {
    std::string combination;  // +0(2)
    std::string odds;         // +2(5)
    std::string popularity;   // +7(2)
    bool operator==(const BracketEntry&) const = default;
};
// One combination with one odds value (quinella, exacta, trio, trifecta).
struct ComboOddsEntry {
    std::string combination;
    std::string odds;
    std::string popularity;
    bool operator==(const ComboOddsEntry&) const = default;
};
// Wide: a low and a high value.
struct WideEntry {
    std::string combination;  // +0(4)
    std::string lowOdds;      // +4(5)
    std::string highOdds;     // +9(5)
    std::string popularity;   // +14(3)
    bool operator==(const WideEntry&) const = default;
};

// Fields every odds record carries after the race key.
struct OddsHeader : RecordHeader {
    std::string announced;        // 28(8) mmddhhmm
    std::string registeredCount;  // 36(2)
    std::string starterCount;     // 38(2)
    bool operator==(const OddsHeader&) const = default;
};

inline constexpr std::size_t kWinEntries = 28;
inline constexpr std::size_t kBracketEntries = 36;
inline constexpr std::size_t kQuinellaEntries = 153;
inline constexpr std::size_t kWideEntries = 153;
inline constexpr std::size_t kExactaEntries = 306;
inline constexpr std::size_t kTrioEntries = 816;
inline constexpr std::size_t kTrifectaEntries = 4896;
inline constexpr std::size_t kMiningEntries = 18;

struct O1Record : OddsHeader {
    std::string winSale;                                // 40(1)
    std::string placeSale;                              // 41(1)
    std::string bracketSale;                            // 42(1)
    std::string placePayKey;                            // 43(1)
    std::array<WinEntry, kWinEntries> win;              // 44, 8 each
    std::array<PlaceEntry, kWinEntries> place;          // 268, 12 each
    std::array<BracketEntry, kBracketEntries> bracket;  // 604, 9 each
    std::string winVotes;                               // 928(11)
    std::string placeVotes;                             // 939(11)
    std::string bracketVotes;                           // 950(11)
    bool operator==(const O1Record&) const = default;
};
struct O2Record : OddsHeader {
    std::string sale;                                 // 40(1)
    std::array<ComboOddsEntry, kQuinellaEntries> entries;  // 41, 13 each: comb 4, odds 6, pop 3
    std::string votes;                                // 2030(11)
    bool operator==(const O2Record&) const = default;
};
struct O3Record : OddsHeader {
    std::string sale;
    std::array<WideEntry, kWideEntries> entries;  // 41, 17 each
    std::string votes;                            // 2642(11)
    bool operator==(const O3Record&) const = default;
};
struct O4Record : OddsHeader {
    std::string sale;
    std::array<ComboOddsEntry, kExactaEntries> entries;  // 41, 13 each
    std::string votes;                              // 4019(11)
    bool operator==(const O4Record&) const = default;
};
struct O5Record : OddsHeader {
    std::string sale;
    std::array<ComboOddsEntry, kTrioEntries> entries;  // 41, 15 each: comb 6, odds 6, pop 3
    std::string votes;                            // 12281(11)
    bool operator==(const O5Record&) const = default;
};
struct O6Record : OddsHeader {
    std::string sale;
    std::array<ComboOddsEntry, kTrifectaEntries> entries;  // 41, 17 each: comb 6, odds 7, pop 4
    std::string votes;                                // 83273(11)
    bool operator==(const O6Record&) const = default;
};

struct MiningEntry {
    std::string horseNumber;  // +0(2)
    std::string time;         // +2(5) m ss ff
    std::string errorPlus;    // +7(4)
    std::string errorMinus;   // +11(4)
    bool operator==(const MiningEntry&) const = default;
};
// DM: data-mining forecast.
struct DmRecord : RecordHeader {
    std::string createdTime;                          // 28(4) hhmm
    std::array<MiningEntry, kMiningEntries> entries;  // 32, 15 each
    bool operator==(const DmRecord&) const = default;
};

// Parsers. The record may come with or without its CR LF; any other length, a
// different record type, or a field whose bytes are not valid CP932 (such as a
// double-byte character split by a field boundary) rejects the record. A field
// that does not decode cannot be given "as delivered", and guessing would
// silently shift names, so the whole record is refused.
std::optional<RaRecord> ParseRA(std::string_view record);
std::optional<SeRecord> ParseSE(std::string_view record);
std::optional<TkRecord> ParseTK(std::string_view record);
std::optional<O1Record> ParseO1(std::string_view record);
std::optional<O2Record> ParseO2(std::string_view record);
std::optional<O3Record> ParseO3(std::string_view record);
std::optional<O4Record> ParseO4(std::string_view record);
std::optional<O5Record> ParseO5(std::string_view record);
std::optional<O6Record> ParseO6(std::string_view record);
std::optional<DmRecord> ParseDM(std::string_view record);

using AnyRecord = std::variant<RaRecord, SeRecord, TkRecord, O1Record, O2Record, O3Record, O4Record, O5Record,
                               O6Record, DmRecord>;
// Parses a record of any type used here; nullopt for an unknown type or a
// malformed record. (An O6 record is large: keep the result off small stacks.)
std::optional<AnyRecord> ParseAnyRecord(std::string_view record);

// ---- layouts --------------------------------------------------------------
// visit(record, fn) calls fn(position, length, field) for every field in
// record order; position is 1-based. Works on const and non-const records.
namespace layout {

template <class H, class F>
void header(H& r, F&& f) {
    f(1, 2, r.recordType);
    f(3, 1, r.dataCategory);
    f(4, 8, r.creationDate);
    f(12, 4, r.year);
    f(16, 4, r.monthDay);
    f(20, 2, r.courseCode);
    f(22, 2, r.meeting);
    f(24, 2, r.day);
    f(26, 2, r.raceNumber);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, RaRecord>
void visit(R& r, F&& f) {
    header(r, f);
    f(28, 1, r.weekdayCode);
    f(29, 4, r.specialRaceNumber);
    f(33, 60, r.raceName);
    f(93, 60, r.raceNameSub);
    f(153, 60, r.raceNameParen);
    f(213, 120, r.raceNameEng);
    f(333, 120, r.raceNameSubEng);
    f(453, 120, r.raceNameParenEng);
    f(573, 20, r.raceNameShort10);
    f(593, 12, r.raceNameShort6);
    f(605, 6, r.raceNameShort3);
    f(611, 1, r.raceNameCategory);
    f(612, 3, r.gradeEdition);
    f(615, 1, r.gradeCode);
    f(616, 1, r.gradeCodeBefore);
    f(617, 2, r.raceTypeCode);
    f(619, 3, r.raceSymbolCode);
    f(622, 1, r.weightRuleCode);
    for (int i = 0; i < 5; ++i) f(623 + 3 * i, 3, r.conditionCodes[i]);
    f(638, 60, r.conditionName);
    f(698, 4, r.distance);
    f(702, 4, r.distanceBefore);
    f(706, 2, r.trackCode);
    f(708, 2, r.trackCodeBefore);
    f(710, 2, r.courseLayout);
    f(712, 2, r.courseLayoutBefore);
    for (int i = 0; i < 7; ++i) f(714 + 8 * i, 8, r.prizeMoney[i]);
    for (int i = 0; i < 5; ++i) f(770 + 8 * i, 8, r.prizeMoneyBefore[i]);
    for (int i = 0; i < 5; ++i) f(810 + 8 * i, 8, r.addedMoney[i]);
    for (int i = 0; i < 3; ++i) f(850 + 8 * i, 8, r.addedMoneyBefore[i]);
    f(874, 4, r.startTime);
    f(878, 4, r.startTimeBefore);
    f(882, 2, r.registeredCount);
    f(884, 2, r.starterCount);
    f(886, 2, r.finisherCount);
    f(888, 1, r.weatherCode);
    f(889, 1, r.turfGoing);
    f(890, 1, r.dirtGoing);
    for (int i = 0; i < 25; ++i) f(891 + 3 * i, 3, r.lapTimes[i]);
    f(966, 4, r.jumpMileTime);
    f(970, 3, r.first3F);
    f(973, 3, r.first4F);
    f(976, 3, r.last3F);
    f(979, 3, r.last4F);
    for (int i = 0; i < 4; ++i) {
        const int at = 982 + 72 * i;
        f(at, 1, r.corners[i].corner);
        f(at + 1, 1, r.corners[i].lapCount);
        f(at + 2, 70, r.corners[i].order);
    }
    f(1270, 1, r.recordUpdate);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, SeRecord>
void visit(R& r, F&& f) {
    header(r, f);
    f(28, 1, r.frameNumber);
    f(29, 2, r.horseNumber);
    f(31, 10, r.umaCode);
    f(41, 36, r.horseName);
    f(77, 2, r.horseSymbol);
    f(79, 1, r.sexCode);
    f(80, 1, r.breedCode);
    f(81, 2, r.coatColour);
    f(83, 2, r.age);
    f(85, 1, r.eastWest);
    f(86, 5, r.trainerCode);
    f(91, 8, r.trainerName);
    f(99, 6, r.ownerCode);
    f(105, 64, r.ownerName);
    f(169, 60, r.colours);
    f(229, 60, r.reserved1);
    f(289, 3, r.weightCarried);
    f(292, 3, r.weightCarriedBefore);
    f(295, 1, r.blinkers);
    f(296, 1, r.reserved2);
    f(297, 5, r.jockeyCode);
    f(302, 5, r.jockeyCodeBefore);
    f(307, 8, r.jockeyName);
    f(315, 8, r.jockeyNameBefore);
    f(323, 1, r.apprentice);
    f(324, 1, r.apprenticeBefore);
    f(325, 3, r.bodyWeight);
    f(328, 1, r.weightSign);
    f(329, 3, r.weightChange);
    f(332, 1, r.abnormality);
    f(333, 2, r.arrivalOrder);
    f(335, 2, r.finalPlacing);
    f(337, 1, r.deadHeat);
    f(338, 1, r.deadHeatCount);
    f(339, 4, r.raceTime);
    f(343, 3, r.margin);
    f(346, 3, r.marginPlus);
    f(349, 3, r.marginPlusPlus);
    for (int i = 0; i < 4; ++i) f(352 + 2 * i, 2, r.cornerPositions[i]);
    f(360, 4, r.winOdds);
    f(364, 2, r.popularity);
    f(366, 8, r.prizeMoney);
    f(374, 8, r.addedMoney);
    f(382, 3, r.reserved3);
    f(385, 3, r.reserved4);
    f(388, 3, r.last4F);
    f(391, 3, r.last3F);
    for (int i = 0; i < 3; ++i) {
        f(394 + 46 * i, 10, r.opponents[i].umaCode);
        f(404 + 46 * i, 36, r.opponents[i].name);
    }
    f(532, 4, r.timeDifference);
    f(536, 1, r.recordUpdate);
    f(537, 1, r.miningCategory);
    f(538, 5, r.miningTime);
    f(543, 4, r.miningErrorPlus);
    f(547, 4, r.miningErrorMinus);
    f(551, 2, r.miningRank);
    f(553, 1, r.runningStyle);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, TkRecord>
void visit(R& r, F&& f) {
    header(r, f);
    f(28, 1, r.weekdayCode);
    f(29, 4, r.specialRaceNumber);
    f(33, 60, r.raceName);
    f(93, 60, r.raceNameSub);
    f(153, 60, r.raceNameParen);
    f(213, 120, r.raceNameEng);
    f(333, 120, r.raceNameSubEng);
    f(453, 120, r.raceNameParenEng);
    f(573, 20, r.raceNameShort10);
    f(593, 12, r.raceNameShort6);
    f(605, 6, r.raceNameShort3);
    f(611, 1, r.raceNameCategory);
    f(612, 3, r.gradeEdition);
    f(615, 1, r.gradeCode);
    f(616, 2, r.raceTypeCode);
    f(618, 3, r.raceSymbolCode);
    f(621, 1, r.weightRuleCode);
    for (int i = 0; i < 5; ++i) f(622 + 3 * i, 3, r.conditionCodes[i]);
    f(637, 4, r.distance);
    f(641, 2, r.trackCode);
    f(643, 2, r.courseLayout);
    f(645, 8, r.handicapDate);
    f(653, 3, r.registeredCount);
    for (std::size_t n = 0; n < kTkHorseBlocks; ++n) {
        const int at = 656 + 70 * static_cast<int>(n);
        auto& h = r.horses[n];
        f(at, 3, h.sequence);
        f(at + 3, 10, h.umaCode);
        f(at + 13, 36, h.horseName);
        f(at + 49, 2, h.horseSymbol);
        f(at + 51, 1, h.sexCode);
        f(at + 52, 1, h.eastWest);
        f(at + 53, 5, h.trainerCode);
        f(at + 58, 8, h.trainerName);
        f(at + 66, 3, h.weightCarried);
        f(at + 69, 1, h.exchange);
    }
}

template <class H, class F>
void oddsHeader(H& r, F&& f) {
    header(r, f);
    f(28, 8, r.announced);
    f(36, 2, r.registeredCount);
    f(38, 2, r.starterCount);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O1Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.winSale);
    f(41, 1, r.placeSale);
    f(42, 1, r.bracketSale);
    f(43, 1, r.placePayKey);
    for (std::size_t i = 0; i < kWinEntries; ++i) {
        const int at = 44 + 8 * static_cast<int>(i);
        f(at, 2, r.win[i].horseNumber);
        f(at + 2, 4, r.win[i].odds);
        f(at + 6, 2, r.win[i].popularity);
    }
    for (std::size_t i = 0; i < kWinEntries; ++i) {
        const int at = 268 + 12 * static_cast<int>(i);
        f(at, 2, r.place[i].horseNumber);
        f(at + 2, 4, r.place[i].lowOdds);
        f(at + 6, 4, r.place[i].highOdds);
        f(at + 10, 2, r.place[i].popularity);
    }
    for (std::size_t i = 0; i < kBracketEntries; ++i) {
        const int at = 604 + 9 * static_cast<int>(i);
        f(at, 2, r.bracket[i].combination);
        f(at + 2, 5, r.bracket[i].odds);
        f(at + 7, 2, r.bracket[i].popularity);
    }
    f(928, 11, r.winVotes);
    f(939, 11, r.placeVotes);
    f(950, 11, r.bracketVotes);
}

// Odds arrays of one value per combination: entry width = comb + odds + popularity.
template <class A, class F>
void oddsEntries(A& entries, int combLen, int oddsLen, int popLen, F&& f) {
    const int width = combLen + oddsLen + popLen;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int at = 41 + width * static_cast<int>(i);
        f(at, combLen, entries[i].combination);
        f(at + combLen, oddsLen, entries[i].odds);
        f(at + combLen + oddsLen, popLen, entries[i].popularity);
    }
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O2Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.sale);
    oddsEntries(r.entries, 4, 6, 3, f);
    f(2030, 11, r.votes);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O3Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.sale);
    for (std::size_t i = 0; i < kWideEntries; ++i) {
        const int at = 41 + 17 * static_cast<int>(i);
        f(at, 4, r.entries[i].combination);
        f(at + 4, 5, r.entries[i].lowOdds);
        f(at + 9, 5, r.entries[i].highOdds);
        f(at + 14, 3, r.entries[i].popularity);
    }
    f(2642, 11, r.votes);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O4Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.sale);
    oddsEntries(r.entries, 4, 6, 3, f);
    f(4019, 11, r.votes);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O5Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.sale);
    oddsEntries(r.entries, 6, 6, 3, f);
    f(12281, 11, r.votes);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, O6Record>
void visit(R& r, F&& f) {
    oddsHeader(r, f);
    f(40, 1, r.sale);
    oddsEntries(r.entries, 6, 7, 4, f);
    f(83273, 11, r.votes);
}

template <class R, class F>
requires std::is_same_v<std::remove_const_t<R>, DmRecord>
void visit(R& r, F&& f) {
    header(r, f);
    f(28, 4, r.createdTime);
    for (std::size_t i = 0; i < kMiningEntries; ++i) {
        const int at = 32 + 15 * static_cast<int>(i);
        f(at, 2, r.entries[i].horseNumber);
        f(at + 2, 5, r.entries[i].time);
        f(at + 7, 4, r.entries[i].errorPlus);
        f(at + 11, 4, r.entries[i].errorMinus);
    }
}

}  // namespace layout

// The record type and length that belong to each structure.
template <class R>
struct RecordTraits;
#define VELTRIX_RECORD_TRAITS(Rec, T)                     \
    template <>                                           \
    struct RecordTraits<Rec> {                            \
        static constexpr RecordType type = RecordType::T; \
    };
VELTRIX_RECORD_TRAITS(RaRecord, RA)
VELTRIX_RECORD_TRAITS(SeRecord, SE)
VELTRIX_RECORD_TRAITS(TkRecord, TK)
VELTRIX_RECORD_TRAITS(O1Record, O1)
VELTRIX_RECORD_TRAITS(O2Record, O2)
VELTRIX_RECORD_TRAITS(O3Record, O3)
VELTRIX_RECORD_TRAITS(O4Record, O4)
VELTRIX_RECORD_TRAITS(O5Record, O5)
VELTRIX_RECORD_TRAITS(O6Record, O6)
VELTRIX_RECORD_TRAITS(DmRecord, DM)
#undef VELTRIX_RECORD_TRAITS

}  // namespace veltrix
