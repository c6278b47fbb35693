#pragma once
// Invented names for the sample world: horses (katakana), people (kanji),
// owners, racing colours and race names.
#include <string>

#include "sample/sample_random.h"

namespace veltrix::sample {

// A katakana horse name of `chars` double-byte characters (2..18).
std::string HorseName(Rng& rng, int chars);
// A short name of at most 4 double-byte characters (jockeys, trainers).
std::string PersonShortName(Rng& rng, bool withGivenInitial);
// Owner name that fits 64 bytes.
std::string OwnerName(Rng& rng);
// Racing colours description that fits 60 bytes.
std::string ColoursText(Rng& rng);

struct RaceName {
    std::string kanji;  // full-width, at most 30 characters
    std::string roman;  // half-width
};
// A special race's name; jumps get a jump-race suffix.
RaceName SpecialRaceName(Rng& rng, bool jump);
// Class name of a local-course race ("Ｃ２" ...).
std::string LocalClassName(Rng& rng);

// The first n double-byte characters of a UTF-8 text made of 3-byte characters.
std::string FirstChars(const std::string& text, int n);

}  // namespace veltrix::sample
