#include "sample/record_writer.h"

#include <stdexcept>

#include "base/encoding.h"

namespace veltrix::sample {
namespace {

const std::string kFullSpace = "\xE3\x80\x80";  // U+3000

template <class R>
std::string write(const R& r) {
    const std::size_t length = RecordLength(RecordTraits<R>::type);
    std::string out;
    out.reserve(length);
    layout::visit(r, [&](int pos, int len, const std::string& field) {
        if (out.size() != static_cast<std::size_t>(pos - 1))
            throw std::logic_error("record layout has a gap");
        // Most fields are digits or spaces: no conversion needed.
        bool ascii = field.size() == static_cast<std::size_t>(len);
        for (std::size_t i = 0; ascii && i < field.size(); ++i)
            ascii = static_cast<unsigned char>(field[i]) < 0x80;
        if (ascii) {
            out += field;
            return;
        }
        auto bytes = Utf8ToCp932(field);
        if (!bytes) throw std::logic_error("field not encodable in CP932: " + field);
        if (bytes->size() != static_cast<std::size_t>(len)) {
            throw std::logic_error("field at " + std::to_string(pos) + " has " +
                                   std::to_string(bytes->size()) + " bytes, not " + std::to_string(len) +
                                   ": '" + field + "'");
        }
        out += *bytes;
    });
    out += "\r\n";
    if (out.size() != length) throw std::logic_error("record length mismatch");
    return out;
}

// Every field '0'; the caller then sets the text fields' own fills.
template <class R>
R zeroed(RecordType type) {
    R r;
    layout::visit(r, [](int, int len, std::string& field) { field = Zeros(len); });
    r.recordType = std::string(RecordTypeCode(type));
    return r;
}

void blankEntries(auto& entries, auto&&... members) {
    for (auto& e : entries) ((e.*members = Spaces(static_cast<int>((e.*members).size()))), ...);
}

}  // namespace

std::string Zeros(int width) { return std::string(static_cast<std::size_t>(width), '0'); }
std::string Spaces(int width) { return std::string(static_cast<std::size_t>(width), ' '); }

std::string FullSpaces(int width) {
    std::string s;
    for (int i = 0; i + 1 < width; i += 2) s += kFullSpace;
    if (width % 2) s += ' ';
    return s;
}

std::string Num(long long value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0 || static_cast<int>(digits.size()) > width) {
        throw std::logic_error("number " + std::to_string(value) + " does not fit " + std::to_string(width));
    }
    return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

int Cp932Width(std::string_view utf8) {
    auto bytes = Utf8ToCp932(utf8);
    if (!bytes) throw std::logic_error("not encodable in CP932");
    return static_cast<int>(bytes->size());
}

std::string PadFull(std::string_view utf8, int width) {
    const int used = Cp932Width(utf8);
    if (used > width) throw std::logic_error("text wider than its field: " + std::string(utf8));
    return std::string(utf8) + FullSpaces(width - used);
}

std::string PadHalf(std::string_view utf8, int width) {
    const int used = Cp932Width(utf8);
    if (used > width) throw std::logic_error("text wider than its field: " + std::string(utf8));
    return std::string(utf8) + Spaces(width - used);
}

void SetRaceKey(RecordHeader& r, const std::string& raceId) {
    r.year = raceId.substr(0, 4);
    r.monthDay = raceId.substr(4, 4);
    r.courseCode = raceId.substr(8, 2);
    r.meeting = raceId.substr(10, 2);
    r.day = raceId.substr(12, 2);
    r.raceNumber = raceId.substr(14, 2);
}

RaRecord BlankRA() {
    auto r = zeroed<RaRecord>(RecordType::RA);
    for (auto* f : {&r.raceName, &r.raceNameSub, &r.raceNameParen, &r.raceNameShort10, &r.raceNameShort6,
                    &r.raceNameShort3, &r.conditionName}) {
        *f = FullSpaces(static_cast<int>(f->size()));
    }
    for (auto* f : {&r.raceNameEng, &r.raceNameSubEng, &r.raceNameParenEng, &r.gradeCode, &r.gradeCodeBefore,
                    &r.courseLayout, &r.courseLayoutBefore}) {
        *f = Spaces(static_cast<int>(f->size()));
    }
    for (auto& c : r.corners) c.order = Spaces(70);
    return r;
}

SeRecord BlankSE() {
    auto r = zeroed<SeRecord>(RecordType::SE);
    for (auto* f : {&r.horseName, &r.trainerName, &r.ownerName, &r.colours, &r.reserved1, &r.jockeyName,
                    &r.jockeyNameBefore}) {
        *f = FullSpaces(static_cast<int>(f->size()));
    }
    for (auto* f :
         {&r.bodyWeight, &r.weightSign, &r.weightChange, &r.margin, &r.marginPlus, &r.marginPlusPlus}) {
        *f = Spaces(static_cast<int>(f->size()));
    }
    for (auto& o : r.opponents) o.name = FullSpaces(36);
    return r;
}

TkRecord BlankTK() {
    auto r = zeroed<TkRecord>(RecordType::TK);
    for (auto* f : {&r.raceName, &r.raceNameSub, &r.raceNameParen, &r.raceNameShort10, &r.raceNameShort6,
                    &r.raceNameShort3}) {
        *f = FullSpaces(static_cast<int>(f->size()));
    }
    for (auto* f : {&r.raceNameEng, &r.raceNameSubEng, &r.raceNameParenEng, &r.gradeCode, &r.courseLayout}) {
        *f = Spaces(static_cast<int>(f->size()));
    }
    blankEntries(r.horses, &TkHorse::sequence, &TkHorse::umaCode, &TkHorse::horseName, &TkHorse::horseSymbol,
                 &TkHorse::sexCode, &TkHorse::eastWest, &TkHorse::trainerCode, &TkHorse::trainerName,
                 &TkHorse::weightCarried, &TkHorse::exchange);
    return r;
}

O1Record BlankO1() {
    auto r = zeroed<O1Record>(RecordType::O1);
    blankEntries(r.win, &WinEntry::horseNumber, &WinEntry::odds, &WinEntry::popularity);
    blankEntries(r.place, &PlaceEntry::horseNumber, &PlaceEntry::lowOdds, &PlaceEntry::highOdds,
                 &PlaceEntry::popularity);
    blankEntries(r.bracket, &BracketEntry::combination, &BracketEntry::odds, &BracketEntry::popularity);
    return r;
}

#define VELTRIX_BLANK_ODDS(Rec, T)                                                                  \
    Rec Blank##T() {                                                                                \
        auto r = zeroed<Rec>(RecordType::T);                                                        \
        blankEntries(r.entries, &ComboOddsEntry::combination, &ComboOddsEntry::odds, &ComboOddsEntry::popularity); \
        return r;                                                                                   \
    }
VELTRIX_BLANK_ODDS(O2Record, O2)
VELTRIX_BLANK_ODDS(O4Record, O4)
VELTRIX_BLANK_ODDS(O5Record, O5)
VELTRIX_BLANK_ODDS(O6Record, O6)
#undef VELTRIX_BLANK_ODDS

O3Record BlankO3() {
    auto r = zeroed<O3Record>(RecordType::O3);
    blankEntries(r.entries, &WideEntry::combination, &WideEntry::lowOdds, &WideEntry::highOdds,
                 &WideEntry::popularity);
    return r;
}

DmRecord BlankDM() {
    auto r = zeroed<DmRecord>(RecordType::DM);
    blankEntries(r.entries, &MiningEntry::horseNumber, &MiningEntry::time, &MiningEntry::errorPlus,
                 &MiningEntry::errorMinus);
    return r;
}

std::string WriteRecord(const RaRecord& r) { return write(r); }
std::string WriteRecord(const SeRecord& r) { return write(r); }
std::string WriteRecord(const TkRecord& r) { return write(r); }
std::string WriteRecord(const O1Record& r) { return write(r); }
std::string WriteRecord(const O2Record& r) { return write(r); }
std::string WriteRecord(const O3Record& r) { return write(r); }
std::string WriteRecord(const O4Record& r) { return write(r); }
std::string WriteRecord(const O5Record& r) { return write(r); }
std::string WriteRecord(const O6Record& r) { return write(r); }
std::string WriteRecord(const DmRecord& r) { return write(r); }

}  // namespace veltrix::sample
