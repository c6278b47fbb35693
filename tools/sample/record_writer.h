#pragma once
// Writes JV-Data records for the sample world: exact length, every field
// filled the way real data fills it, CP932 with CR LF.
#include <string>
#include <string_view>

#include "jvlink/records.h"

namespace veltrix::sample {

// Field values of an exact byte width (the width of their CP932 form).
std::string Zeros(int width);
std::string Spaces(int width);
// Full-width spaces; an odd width ends in one half-width space.
std::string FullSpaces(int width);
// Zero-padded number; throws when it does not fit.
std::string Num(long long value, int width);
// Text padded on the right with full-width spaces (by bytes); throws when the
// text is wider than the field.
std::string PadFull(std::string_view utf8, int width);
// Text padded on the right with half-width spaces.
std::string PadHalf(std::string_view utf8, int width);
// Bytes of the CP932 form of a UTF-8 text; throws on an unencodable character.
int Cp932Width(std::string_view utf8);

// Records with every field at its initial (unset) value and the record type set.
RaRecord BlankRA();
SeRecord BlankSE();
TkRecord BlankTK();
O1Record BlankO1();
O2Record BlankO2();
O3Record BlankO3();
O4Record BlankO4();
O5Record BlankO5();
O6Record BlankO6();
DmRecord BlankDM();
// The race key fields of a record from a 16-digit race id.
void SetRaceKey(RecordHeader& r, const std::string& raceId);

// The CP932 bytes of a record, CR LF included. Throws std::logic_error when a
// field's CP932 form is not exactly its width, so nothing of a wrong length is
// ever written.
std::string WriteRecord(const RaRecord& r);
std::string WriteRecord(const SeRecord& r);
std::string WriteRecord(const TkRecord& r);
std::string WriteRecord(const O1Record& r);
std::string WriteRecord(const O2Record& r);
std::string WriteRecord(const O3Record& r);
std::string WriteRecord(const O4Record& r);
std::string WriteRecord(const O5Record& r);
std::string WriteRecord(const O6Record& r);
std::string WriteRecord(const DmRecord& r);

}  // namespace veltrix::sample
