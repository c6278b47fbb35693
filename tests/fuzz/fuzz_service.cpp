// The analysis service's answer (and its address as a user types it): any bytes received are detected, converted
// and normalised, or refused; an answer kept is stored as the download stores
// it (the "0," token line, then the text in CP932) and read into the fixture
// week, where a damaged file is deleted and the store emptied.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "service/analysis_download.h"
#include "service/japanese_text.h"
#include "service/post_form.h"
#include "store/analysis_files.h"
#include "store/weekly_store.h"

using namespace veltrix;

namespace {
const Store& fixtureWeek() {
    static const Store week = [] {
        const Folders folders = fuzz::MakeProgramFolder("fixture");
        for (const char* name : {kCache1, kCache2, kCache3})
            if (!WriteFileBytes(folders.cache / name, fuzz::FixtureFile(std::string("cache/") + name)))
                fuzz::Fail("cannot write the fixture");
        Store s;
        if (LoadRaceCache(s, folders)) fuzz::Fail("the fixture week does not load");
        return s;
    }();
    return week;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("service");
    static const std::string argument = fuzz::FixtureFile("analysis_argument");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The service's address comes from the environment, as typed by a user.
    if (const auto address = ParseServiceUrl(bytes); address && address->host.empty())
        fuzz::Fail("an address without a host accepted");

    const auto encoding = DetectJapaneseEncoding(bytes);
    if (encoding) (void)JapaneseToUtf8(bytes, *encoding);
    if (const auto euc = Iso2022JpToEucJp(bytes)) {
        // Both forms hold the same characters: back and forth again gives the same.
        const auto jis = EucJpToIso2022Jp(*euc);
        if (!jis || Iso2022JpToEucJp(*jis) != euc) fuzz::Fail("ISO-2022-JP and EUC-JP disagree");
    }
    const auto text = ResponseText(bytes);
    if (!text) return 0;
    if (NormaliseLineEnds(*text) != *text) fuzz::Fail("an answer's line ends not normalised");
    // The text is stored in CP932; what cannot be is not stored at all.
    const auto stored = Utf8ToCp932(std::string("0,") + kDownloadedFileToken + "\r\n" + *text);
    if (!stored) return 0;
    const std::string name = "cachea" + argument;
    if (!WriteFileBytes(folders.cache / name, *stored)) fuzz::Fail("cannot write the stored answer");
    Store store = fixtureWeek();
    NullPump pump;
    if (ReadAnalysisFile(store, folders, argument, pump) < 0) {
        if (FileExists(folders.cache / name)) fuzz::Fail("a damaged stored answer was kept");
        if (store.UmaCount != 0 || store.HistoryCount != 0) fuzz::Fail("a damaged stored answer left the store");
    }
    std::error_code ec;
    std::filesystem::remove(folders.cache / name, ec);
    return 0;
}
