#include "jvlink/records.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/encoding.h"

namespace veltrix {
namespace {

// A record of the given length, '0' everywhere, the type at 1-2 and CR LF at
// the end; fields are then put at their byte positions by hand, independently
// of the layouts under test.
std::string rawRecord(std::string_view type, std::size_t length) {
    std::string r(length, '0');
    r.replace(0, 2, type);
    r[length - 2] = '\r';
    r[length - 1] = '\n';
    return r;
}
void put(std::string& r, int pos, std::string_view bytes) {
    r.replace(static_cast<std::size_t>(pos - 1), bytes.size(), bytes);
}
std::string sjis(const std::string& utf8) { return *Utf8ToCp932(utf8); }

const std::string kName18 = "アイウエオカキクケコサシスセソタチツ";  // 18 double-byte characters

TEST(Records, HorseNameOfEighteenDoubleByteCharactersIsCutByBytes) {
    std::string r = rawRecord("SE", kSeLength);
    put(r, 3, "7");
    put(r, 12, "2009011706010111");
    put(r, 31, "2005104321");
    put(r, 41, sjis(kName18));  // 36 bytes exactly
    put(r, 77, "01");           // horse symbol right after the name
    put(r, 79, "2");
    auto se = ParseSE(r);
    ASSERT_TRUE(se);
    EXPECT_EQ(se->horseName, kName18);
    EXPECT_EQ(se->horseSymbol, "01");
    EXPECT_EQ(se->sexCode, "2");
    EXPECT_EQ(se->umaCode, "2005104321");
    EXPECT_EQ(se->raceId(), "2009011706010111");
    EXPECT_EQ(RaceIdOf(r), "2009011706010111");

    // A shorter name keeps its full-width padding: fields are delivered untrimmed.
    std::string padded = sjis("アイウ");
    std::string expected = "アイウ";
    for (int i = 0; i < 15; ++i) {
        padded += "\x81\x40";
        expected += "\u3000";
    }
    put(r, 41, padded);
    se = ParseSE(r);
    ASSERT_TRUE(se);
    EXPECT_EQ(se->horseName, expected);
}

TEST(Records, DoubleByteCharacterSplitByAFieldBoundaryRejectsTheRecord) {
    std::string r = rawRecord("SE", kSeLength);
    // 17 characters and then the lead byte of an 18th at byte 76: the name
    // field ends inside a character.
    put(r, 41, sjis("アイウエオカキクケコサシスセソタチ") + "\x83");
    put(r, 77,
        "\x41"
        "0");
    EXPECT_FALSE(ParseSE(r));
}

TEST(Records, LengthTypeAndLineEndAreChecked) {
    const std::string good = rawRecord("SE", kSeLength);
    EXPECT_TRUE(ParseSE(good));
    EXPECT_TRUE(ParseSE(std::string_view(good).substr(0, kSeLength - 2)));   // without CR LF
    EXPECT_FALSE(ParseSE(std::string_view(good).substr(0, kSeLength - 1)));  // CR without LF
    EXPECT_FALSE(ParseSE(std::string_view(good).substr(0, kSeLength - 3)));  // short
    EXPECT_FALSE(ParseSE(good + "0"));                                       // long
    EXPECT_FALSE(ParseSE(""));
    std::string noLineEnd = good;
    noLineEnd[kSeLength - 2] = '0';
    EXPECT_FALSE(ParseSE(noLineEnd));  // full length but no CR LF at its end
    EXPECT_FALSE(ParseRA(good));       // an SE is not an RA
    std::string ra = rawRecord("RA", kRaLength);
    EXPECT_FALSE(ParseSE(ra.substr(0, kSeLength)));  // right length, wrong type
    EXPECT_TRUE(ParseRA(ra));

    // Every type at its exact length parses; one byte less (without CR LF) does not.
    for (RecordType t : {RecordType::RA, RecordType::SE, RecordType::TK, RecordType::O1, RecordType::O2,
                         RecordType::O3, RecordType::O4, RecordType::O5, RecordType::O6, RecordType::DM}) {
        const std::string rec = rawRecord(RecordTypeCode(t), RecordLength(t));
        EXPECT_TRUE(ParseAnyRecord(rec)) << RecordTypeCode(t);
        EXPECT_FALSE(ParseAnyRecord(rec.substr(0, RecordLength(t) - 3))) << RecordTypeCode(t);
    }
    EXPECT_EQ(RecordLength(RecordType::TK), 21657u);
    EXPECT_EQ(RecordLength(RecordType::O6), 83285u);
}

TEST(Records, UnknownTypesAreNeverParsed) {
    for (std::string_view type : {"HR", "UM", "KS", "H1", "WF", "se", "O7", "D", ""}) {
        EXPECT_FALSE(RecordTypeOf(type)) << type;
        std::string r = type.size() == 2 ? rawRecord(type, kSeLength) : std::string(type);
        EXPECT_FALSE(ParseAnyRecord(r)) << type;
    }
    // An unknown record of an SE's length is still not an SE.
    EXPECT_FALSE(ParseSE(rawRecord("HR", kSeLength)));
    EXPECT_EQ(RecordTypeOf(rawRecord("O6", 10)), RecordType::O6);  // the type alone does not need the length
    auto any = ParseAnyRecord(rawRecord("DM", kDmLength));
    ASSERT_TRUE(any);
    EXPECT_TRUE(std::holds_alternative<DmRecord>(*any));
}

TEST(Records, RaceIdNeedsSixteenDigits) {
    EXPECT_EQ(RaceIdOf("RA7200901152009011706010111"), "2009011706010111");
    EXPECT_EQ(RaceIdOf("RA720090115200901170601011"), "");   // 26 bytes
    EXPECT_EQ(RaceIdOf("RA72009011520090117060101 1"), "");  // a blank inside
}

TEST(Records, RaceFieldsAtTheirPositions) {
    std::string r = rawRecord("RA", kRaLength);
    put(r, 3, "2");
    put(r, 12, "2026121206050301");
    put(r, 33, sjis("冬桜ステークス"));
    std::string rest;
    for (int i = 0; i < 23; ++i) rest += "\x81\x40";
    put(r, 33 + 14, rest);
    put(r, 615, "C");
    put(r, 617, "13");
    put(r, 619, "A03");
    put(r, 622, "2");
    put(r, 623, "000016016016016");
    put(r, 698, "1600");
    put(r, 706, "17");
    put(r, 710, "A ");
    put(r, 874, "1545");
    put(r, 882, "16");
    put(r, 884, "15");
    put(r, 889, "2");
    put(r, 890, "0");
    put(r, 982,
        "1"
        "1" +
            std::string("3,5(1,7)-2=4") + std::string(58, ' '));
    put(r, 1270, "2");
    auto ra = ParseRA(r);
    ASSERT_TRUE(ra);
    EXPECT_EQ(ra->dataCategory, "2");
    EXPECT_EQ(ra->raceId(), "2026121206050301");
    EXPECT_EQ(ra->courseCode, "06");
    EXPECT_EQ(ra->raceName.substr(0, 21), "冬桜ステークス");
    EXPECT_EQ(ra->raceName.size(), 21u + 23u * 3u);
    EXPECT_EQ(ra->gradeCode, "C");
    EXPECT_EQ(ra->raceTypeCode, "13");
    EXPECT_EQ(ra->raceSymbolCode, "A03");
    EXPECT_EQ(ra->weightRuleCode, "2");
    EXPECT_EQ(ra->youngestCondition(), "016");
    EXPECT_EQ(ra->conditionCodes[0], "000");
    EXPECT_EQ(ra->distance, "1600");
    EXPECT_EQ(ra->trackCode, "17");
    EXPECT_EQ(ra->courseLayout, "A ");
    EXPECT_EQ(ra->startTime, "1545");
    EXPECT_EQ(ra->registeredCount, "16");
    EXPECT_EQ(ra->starterCount, "15");
    EXPECT_EQ(ra->turfGoing, "2");
    EXPECT_EQ(ra->dirtGoing, "0");
    EXPECT_EQ(ra->corners[0].corner, "1");
    EXPECT_EQ(ra->corners[0].order.substr(0, 12), "3,5(1,7)-2=4");
    EXPECT_EQ(ra->recordUpdate, "2");
}

TEST(Records, RunnerResultFieldsAtTheirPositions) {
    std::string r = rawRecord("SE", kSeLength);
    put(r, 28, "3");
    put(r, 29, "05");
    put(r, 83, "04");
    put(r, 86, "01234");
    put(r, 289, "570");
    put(r, 297, "05386");
    put(r, 325, "486+004");
    put(r, 332, "7");
    put(r, 333, "0204");
    put(r, 339, "1345");
    put(r, 343, "K  ");
    put(r, 352, "03030201");
    put(r, 360, "0123");
    put(r, 364, "02");
    put(r, 391, "345");
    put(r, 532, "+003");
    put(r, 553, "2");
    auto se = ParseSE(r);
    ASSERT_TRUE(se);
    EXPECT_EQ(se->frameNumber, "3");
    EXPECT_EQ(se->horseNumber, "05");
    EXPECT_EQ(se->age, "04");
    EXPECT_EQ(se->trainerCode, "01234");
    EXPECT_EQ(se->weightCarried, "570");
    EXPECT_EQ(se->jockeyCode, "05386");
    EXPECT_EQ(se->bodyWeight, "486");
    EXPECT_EQ(se->weightSign, "+");
    EXPECT_EQ(se->weightChange, "004");
    EXPECT_EQ(se->abnormality, "7");
    EXPECT_EQ(se->arrivalOrder, "02");
    EXPECT_EQ(se->finalPlacing, "04");
    EXPECT_EQ(se->raceTime, "1345");
    EXPECT_EQ(se->margin, "K  ");
    EXPECT_EQ((std::array<std::string, 4>{"03", "03", "02", "01"}), se->cornerPositions);
    EXPECT_EQ(se->winOdds, "0123");
    EXPECT_EQ(se->popularity, "02");
    EXPECT_EQ(se->last3F, "345");
    EXPECT_EQ(se->timeDifference, "+003");
    EXPECT_EQ(se->runningStyle, "2");
}

// A TK record with `horses` filled blocks (the rest 70 spaces).
std::string tkRecord(int horses) {
    std::string r = rawRecord("TK", kTkLength);
    put(r, 12, "2026121306050411");
    put(r, 616, "13");
    put(r, 634, "999");
    put(r, 637, "2000");
    put(r, 641, "17");
    put(r, 653, "005");
    for (int n = 0; n < 300; ++n) {
        const int at = 656 + 70 * n;
        if (n < horses) {
            char seq[4];
            std::snprintf(seq, sizeof seq, "%03d", n + 1);
            put(r, at, seq);
            put(r, at + 3, "20221" + std::string(seq) + "45");
            std::string name = sjis("ホシノカゼ");
            while (name.size() < 36) name += "\x81\x40";
            put(r, at + 13, name);
            put(r, at + 49, "001");
            put(r, at + 52, "1");
            put(r, at + 53, "01020");
            put(r, at + 58, sjis("山田") + "\x81\x40\x81\x40");
            put(r, at + 66, "5700");
        } else {
            put(r, at, std::string(70, ' '));
        }
    }
    return r;
}

TEST(Records, SpecialRegistrationListEndsAtTheFirstBlankBlock) {
    auto tk = ParseTK(tkRecord(3));
    ASSERT_TRUE(tk);
    EXPECT_EQ(tk->raceTypeCode, "13");
    EXPECT_EQ(tk->youngestCondition(), "999");
    EXPECT_EQ(tk->distance, "2000");
    EXPECT_EQ(tk->trackCode, "17");
    EXPECT_EQ(tk->registeredCount, "005");  // the count says 5; the blocks decide
    auto horses = RegisteredHorses(*tk);
    ASSERT_EQ(horses.size(), 3u);
    EXPECT_EQ(horses[2].sequence, "003");
    EXPECT_EQ(horses[2].umaCode, "2022100345");
    EXPECT_EQ(horses[2].horseName.substr(0, 15), "ホシノカゼ");
    EXPECT_EQ(horses[2].sexCode, "1");
    EXPECT_EQ(horses[2].trainerCode, "01020");
    EXPECT_EQ(horses[2].trainerName, "山田\u3000\u3000");
    EXPECT_EQ(horses[2].weightCarried, "570");
    EXPECT_EQ(tk->horses[3].umaCode, std::string(10, ' '));

    // A filled block after a blank one is not a registered horse.
    std::string r = tkRecord(3);
    put(r, 656 + 70 * 5 + 3, "2022100999");
    tk = ParseTK(r);
    ASSERT_TRUE(tk);
    EXPECT_EQ(RegisteredHorses(*tk).size(), 3u);

    EXPECT_EQ(RegisteredHorses(*ParseTK(tkRecord(300))).size(), 300u);
    EXPECT_EQ(RegisteredHorses(*ParseTK(tkRecord(0))).size(), 0u);
}

TEST(Records, OddsAndMiningEntriesAtTheirPositions) {
    std::string o1 = rawRecord("O1", kO1Length);
    put(o1, 44,
        "010123"
        "01");  // first win entry
    put(o1, 44 + 8 * 27,
        "28----"
        "--");  // last win entry
    put(o1, 268 + 12,
        "0201100150"
        "03");
    put(o1, 604 + 9 * 35,
        "8800123"
        "36");
    put(o1, 950, "00012345678");
    auto a = ParseO1(o1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->win[0].odds, "0123");
    EXPECT_EQ(a->win[27].horseNumber, "28");
    EXPECT_EQ(a->win[27].odds, "----");
    EXPECT_EQ(a->place[1].horseNumber, "02");
    EXPECT_EQ(a->place[1].lowOdds, "0110");
    EXPECT_EQ(a->place[1].highOdds, "0150");
    EXPECT_EQ(a->place[1].popularity, "03");
    EXPECT_EQ(a->bracket[35].combination, "88");
    EXPECT_EQ(a->bracketVotes, "00012345678");

    std::string o6 = rawRecord("O6", kO6Length);
    put(o6, 41 + 17 * 4895,
        "181716"
        "*******"
        "****");
    put(o6, 83273, "12345678901");
    auto f = ParseO6(o6);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->entries[4895].combination, "181716");
    EXPECT_EQ(f->entries[4895].odds, "*******");
    EXPECT_EQ(f->entries[4895].popularity, "****");
    EXPECT_EQ(f->votes, "12345678901");

    std::string o3 = rawRecord("O3", kO3Length);
    put(o3, 41 + 17 * 152,
        "1718"
        "00123"
        "00456"
        "153");
    auto w = ParseO3(o3);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->entries[152].lowOdds, "00123");
    EXPECT_EQ(w->entries[152].highOdds, "00456");
    EXPECT_EQ(w->entries[152].popularity, "153");

    std::string o5 = rawRecord("O5", kO5Length);
    put(o5, 41 + 15 * 815,
        "161718"
        "099999"
        "816");
    EXPECT_EQ(ParseO5(o5)->entries[815].odds, "099999");
    std::string o4 = rawRecord("O4", kO4Length);
    put(o4, 41 + 13 * 305,
        "1817"
        "000000"
        "306");
    EXPECT_EQ(ParseO4(o4)->entries[305].combination, "1817");
    std::string o2 = rawRecord("O2", kO2Length);
    put(o2, 2030, "99999999999");
    EXPECT_EQ(ParseO2(o2)->votes, "99999999999");

    std::string dm = rawRecord("DM", kDmLength);
    put(dm, 28, "1530");
    put(dm, 32 + 15 * 17,
        "18"
        "13452"
        "0045"
        "0120");
    auto d = ParseDM(dm);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->createdTime, "1530");
    EXPECT_EQ(d->entries[17].horseNumber, "18");
    EXPECT_EQ(d->entries[17].time, "13452");
    EXPECT_EQ(d->entries[17].errorPlus, "0045");
    EXPECT_EQ(d->entries[17].errorMinus, "0120");
}

TEST(Records, BlankFieldMeansHalfOrFullWidthSpacesOnly) {
    EXPECT_TRUE(IsBlankField(""));
    EXPECT_TRUE(IsBlankField("   "));
    EXPECT_TRUE(IsBlankField(" \u3000 "));
    EXPECT_FALSE(IsBlankField(" 0 "));
    EXPECT_FALSE(IsBlankField("\u3000ア"));
}

}  // namespace
}  // namespace veltrix
