#include "sample/sample_names.h"

#include <vector>

namespace veltrix::sample {
namespace {

const std::vector<std::string> kKana = {
    "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ", "タ", "チ",
    "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ", "ヘ", "ホ", "マ", "ミ", "ム", "メ",
    "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ガ", "ギ", "グ", "ゲ", "ゴ", "ザ", "ジ",
    "ズ", "ゼ", "ゾ", "ダ", "デ", "ド", "バ", "ビ", "ブ", "ベ", "ボ", "パ", "ピ", "プ", "ペ", "ポ", "ヴ"};
// Characters that never start a name.
const std::vector<std::string> kInner = {"ン", "ー", "ッ", "ィ", "ュ", "ョ"};

const std::vector<std::string> kSurname1 = {"山", "川", "田", "小", "大", "高", "松", "森", "石", "岡",
                                            "村", "木", "林", "池", "西", "東", "北", "南", "藤", "佐",
                                            "吉", "長", "宮", "安", "坂", "野", "原", "島", "平", "上",
                                            "水", "青", "白", "黒", "金", "浜", "沢", "谷", "福", "竹"};
const std::vector<std::string> kSurname2 = {"田", "川", "本", "野", "村", "井", "沢", "崎", "島", "原",
                                            "山", "木", "口", "谷", "岡", "橋", "江", "内", "部", "浦"};
const std::vector<std::string> kGiven = {"一", "誠", "翔", "亮", "健", "勇", "拓", "大", "悠", "真",
                                         "弘", "哲", "彰", "隆", "優", "裕", "蓮", "颯", "陽", "聡"};

const std::vector<std::string> kOwnerSuffix = {"レーシング",   "ファーム",   "牧場",
                                               "ホースクラブ", "ステーブル", "ＨＤ"};
const std::vector<std::string> kColour = {"赤", "青", "黄",   "緑", "紫", "白",
                                          "黒", "桃", "水色", "茶", "橙", "紺"};
const std::vector<std::string> kPattern = {"襷",     "縦縞", "山形一本輪", "星散", "二本輪", "菱山形",
                                           "鋸歯形", "元禄", "一本輪",     "帯",   "袖輪",   "蛇目"};

struct NamePart {
    const char* kanji;
    const char* roman;
};
const std::vector<NamePart> kRacePrefix = {
    {"冬桜", "Fuyuzakura"}, {"白樺", "Shirakaba"},  {"銀河", "Ginga"},     {"霧島", "Kirishima"},
    {"若草", "Wakakusa"},   {"紅葉", "Momiji"},     {"早春", "Soshun"},    {"潮風", "Shiokaze"},
    {"天狼", "Tenro"},      {"雪月", "Setsugetsu"}, {"朝霧", "Asagiri"},   {"星影", "Hoshikage"},
    {"青嵐", "Seiran"},     {"夕凪", "Yunagi"},     {"春雷", "Shunrai"},   {"千鳥", "Chidori"},
    {"北斗", "Hokuto"},     {"翠嶺", "Suirei"},     {"白鷺", "Shirasagi"}, {"蒼穹", "Sokyu"}};
const std::vector<NamePart> kRaceSuffix = {{"ステークス", "Stakes"},
                                           {"特別", "Tokubetsu"},
                                           {"賞", "Sho"},
                                           {"カップ", "Cup"},
                                           {"ハンデキャップ", "Handicap"}};
const std::vector<std::string> kLocalClass = {"Ｃ１", "Ｃ２", "Ｃ３", "Ｂ１", "Ｂ２", "Ｂ３", "Ａ１", "Ａ２"};
const std::vector<std::string> kLocalSub = {"一", "二", "三", "四", "五", "六"};

}  // namespace

std::string HorseName(Rng& rng, int chars) {
    std::string name = rng.pick(kKana);
    std::string last = name;
    for (int i = 1; i < chars; ++i) {
        // The small and long-vowel characters follow a full syllable only.
        const bool inner =
            !(last == "ン" || last == "ー" || last == "ッ" || last == "ィ" || last == "ュ" || last == "ョ") &&
            i + 1 < chars && rng.chance(0.18);
        last = inner ? rng.pick(kInner) : rng.pick(kKana);
        name += last;
    }
    return name;
}

std::string PersonShortName(Rng& rng, bool withGivenInitial) {
    // One draw a statement: the operands of + are evaluated in no fixed order.
    std::string s = rng.pick(kSurname1);
    s += rng.pick(kSurname2);
    if (withGivenInitial) s += rng.pick(kGiven);
    return s;
}

std::string OwnerName(Rng& rng) {
    if (rng.chance(0.45)) {
        std::string s = rng.pick(kSurname1);
        s += rng.pick(kSurname2);
        s += rng.pick(kGiven);
        s += rng.pick(kGiven);
        return s;
    }
    std::string s = HorseName(rng, rng.range(2, 5));
    s += rng.pick(kOwnerSuffix);
    return s;
}

std::string ColoursText(Rng& rng) {
    const std::string base = rng.pick(kColour);
    std::string other = rng.pick(kColour);
    if (other == base) other = base == "白" ? "黒" : "白";
    std::string s = base + "，" + other + rng.pick(kPattern);
    if (rng.chance(0.6)) s += "，" + other + "袖" + (rng.chance(0.5) ? base + "一本輪" : std::string());
    return s;
}

RaceName SpecialRaceName(Rng& rng, bool jump) {
    const auto& p = rng.pick(kRacePrefix);
    if (jump) return {std::string(p.kanji) + "ジャンプステークス", std::string(p.roman) + " Jump Stakes"};
    const auto& s = rng.pick(kRaceSuffix);
    return {std::string(p.kanji) + s.kanji, std::string(p.roman) + " " + s.roman};
}

std::string LocalClassName(Rng& rng) {
    std::string s = rng.pick(kLocalClass);
    s += rng.pick(kLocalSub);
    return s;
}

std::string FirstChars(const std::string& text, int n) {
    const std::size_t bytes = static_cast<std::size_t>(n) * 3;
    return text.size() <= bytes ? text : text.substr(0, bytes);
}

}  // namespace veltrix::sample
