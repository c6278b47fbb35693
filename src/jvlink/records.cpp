#include "jvlink/records.h"

#include "base/encoding.h"

namespace veltrix {
namespace {

constexpr std::array<std::string_view, 10> kCodes = {"RA", "SE", "TK", "O1", "O2",
                                                     "O3", "O4", "O5", "O6", "DM"};
constexpr std::array<std::size_t, 10> kLengths = {kRaLength, kSeLength, kTkLength, kO1Length, kO2Length,
                                                  kO3Length, kO4Length, kO5Length, kO6Length, kDmLength};

// The record without its CR LF, when its type and length are right.
std::optional<std::string_view> body(std::string_view record, RecordType type) {
    const std::size_t full = RecordLength(type);
    if (record.size() == full) {
        if (record.substr(full - 2) != "\r\n") return std::nullopt;
        record.remove_suffix(2);
    } else if (record.size() != full - 2) {
        return std::nullopt;
    }
    if (record.substr(0, 2) != RecordTypeCode(type)) return std::nullopt;
    return record;
}

template <class R>
std::optional<R> parse(std::string_view record) {
    auto b = body(record, RecordTraits<R>::type);
    if (!b) return std::nullopt;
    std::optional<R> out(std::in_place);
    bool ok = true;
    layout::visit(*out, [&](int pos, int len, std::string& field) {
        if (!ok) return;
        // The layouts never reach past the body; the check keeps it that way.
        const std::size_t from = static_cast<std::size_t>(pos - 1);
        if (from + static_cast<std::size_t>(len) > b->size()) {
            ok = false;
            return;
        }
        auto text = Cp932ToUtf8(b->substr(from, static_cast<std::size_t>(len)));
        if (!text) {
            ok = false;
            return;
        }
        field = std::move(*text);
    });
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::string_view RecordTypeCode(RecordType type) { return kCodes[static_cast<std::size_t>(type)]; }
std::size_t RecordLength(RecordType type) { return kLengths[static_cast<std::size_t>(type)]; }

std::optional<RecordType> RecordTypeOf(std::string_view record) {
    if (record.size() < 2) return std::nullopt;
    const auto code = record.substr(0, 2);
    for (std::size_t i = 0; i < kCodes.size(); ++i) {
        if (kCodes[i] == code) return static_cast<RecordType>(i);
    }
    return std::nullopt;
}

bool IsJVDataRecordKind(std::string_view record) {
    // Every record kind of JV-Data, stored and real-time.
    static constexpr std::string_view kAllKinds[] = {
        "TK", "RA", "SE", "HR", "H1", "H6", "O1", "O2", "O3", "O4", "O5", "O6", "WF",
        "JG", "UM", "KS", "CH", "BR", "BN", "HN", "SK", "CK", "RC", "HC", "WC", "HS",
        "HY", "YS", "BT", "CS", "DM", "TM", "WH", "WE", "AV", "JC", "TC", "CC"};
    if (record.size() < 2) return false;
    const auto code = record.substr(0, 2);
    for (std::string_view kind : kAllKinds)
        if (kind == code) return true;
    return false;
}

std::string RaceIdOf(std::string_view record) {
    if (record.size() < 27) return {};
    auto id = record.substr(11, 16);
    for (char c : id) {
        if (c < '0' || c > '9') return {};
    }
    return std::string(id);
}

bool IsBlankField(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
        } else if (text.substr(i, 3) == "\xE3\x80\x80") {  // U+3000
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

std::span<const TkHorse> RegisteredHorses(const TkRecord& tk) {
    std::size_t n = 0;
    while (n < tk.horses.size() && !IsBlankField(tk.horses[n].umaCode)) ++n;
    return std::span<const TkHorse>(tk.horses.data(), n);
}

std::optional<RaRecord> ParseRA(std::string_view record) { return parse<RaRecord>(record); }
std::optional<SeRecord> ParseSE(std::string_view record) { return parse<SeRecord>(record); }
std::optional<TkRecord> ParseTK(std::string_view record) { return parse<TkRecord>(record); }
std::optional<O1Record> ParseO1(std::string_view record) { return parse<O1Record>(record); }
std::optional<O2Record> ParseO2(std::string_view record) { return parse<O2Record>(record); }
std::optional<O3Record> ParseO3(std::string_view record) { return parse<O3Record>(record); }
std::optional<O4Record> ParseO4(std::string_view record) { return parse<O4Record>(record); }
std::optional<O5Record> ParseO5(std::string_view record) { return parse<O5Record>(record); }
std::optional<O6Record> ParseO6(std::string_view record) { return parse<O6Record>(record); }
std::optional<DmRecord> ParseDM(std::string_view record) { return parse<DmRecord>(record); }

std::optional<AnyRecord> ParseAnyRecord(std::string_view record) {
    auto type = RecordTypeOf(record);
    if (!type) return std::nullopt;
    auto wrap = [](auto&& parsed) -> std::optional<AnyRecord> {
        if (!parsed) return std::nullopt;
        return AnyRecord(std::move(*parsed));
    };
    switch (*type) {
        case RecordType::RA:
            return wrap(ParseRA(record));
        case RecordType::SE:
            return wrap(ParseSE(record));
        case RecordType::TK:
            return wrap(ParseTK(record));
        case RecordType::O1:
            return wrap(ParseO1(record));
        case RecordType::O2:
            return wrap(ParseO2(record));
        case RecordType::O3:
            return wrap(ParseO3(record));
        case RecordType::O4:
            return wrap(ParseO4(record));
        case RecordType::O5:
            return wrap(ParseO5(record));
        case RecordType::O6:
            return wrap(ParseO6(record));
        case RecordType::DM:
            return wrap(ParseDM(record));
    }
    return std::nullopt;
}

}  // namespace veltrix
