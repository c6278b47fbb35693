// Every JV-Data record cutter: any bytes are cut into a record of their type
// or refused, and a record that is cut can be turned into the import's entries.
#include <cstdint>
#include <string_view>
#include <variant>

#include "fuzz_common.h"
#include "jvlink/records.h"
#include "jvlink/weekly_import.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    const auto type = RecordTypeOf(record);
    (void)RaceIdOf(record);
    // Every cutter sees every input: a record of another type must be refused.
    const bool ra = ParseRA(record).has_value(), se = ParseSE(record).has_value(), tk = ParseTK(record).has_value();
    const bool o1 = ParseO1(record).has_value(), o2 = ParseO2(record).has_value(), o3 = ParseO3(record).has_value();
    const bool o4 = ParseO4(record).has_value(), o5 = ParseO5(record).has_value(), o6 = ParseO6(record).has_value();
    const bool dm = ParseDM(record).has_value();
    if (ra + se + tk + o1 + o2 + o3 + o4 + o5 + o6 + dm > 1) fuzz::Fail("one record cut as two types");
    const auto any = ParseAnyRecord(record);
    if (any.has_value() != (ra || se || tk || o1 || o2 || o3 || o4 || o5 || o6 || dm))
        fuzz::Fail("ParseAnyRecord disagrees with the cutters");
    if (any && !type) fuzz::Fail("a record cut without a type");
    if (!any) return 0;
    if (const auto* r = std::get_if<RaRecord>(&*any)) {
        const ImportRace race = ToImportRace(*r);
        (void)BuildRaceLabel(race, true);
        (void)BuildRaceLabel(race, false);
        (void)TrimField(r->raceName);
    } else if (const auto* s = std::get_if<SeRecord>(&*any)) {
        (void)ToImportRunner(*s);
    } else if (const auto* t = std::get_if<TkRecord>(&*any)) {
        const ImportToku toku = ToImportToku(*t);
        if (toku.horses.size() > RegisteredHorses(*t).size()) fuzz::Fail("more horses than blocks");
    }
    return 0;
}
