// The settings file "VELTRIX.ctx": any bytes are read or refused with a reason,
// and a refused file leaves the settings as they were.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "store/settings.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("settings");
    if (!WriteFileBytes(folders.program / kSettingsFileName, std::string(reinterpret_cast<const char*>(data), size)))
        fuzz::Fail("cannot write the input");
    Settings settings;
    settings.Kikan = 77;
    settings.Mark[3] = "unchanged";
    std::string reason;
    if (ReadSettings(settings, folders.program, &reason)) {
        if (reason.empty()) fuzz::Fail("a refused settings file without a reason");
        if (settings.Kikan != 77 || settings.Mark[3] != "unchanged") fuzz::Fail("a refused file changed the settings");
        return 0;
    }
    // What was read can be written back.
    WriteSetting(folders.program, "TuneInfo", "Kikan", std::to_string(settings.Kikan));
    return 0;
}
