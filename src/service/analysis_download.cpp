#include "service/analysis_download.h"

#include "base/encoding.h"
#include "service/japanese_text.h"
#include "store/cache_files.h"

namespace veltrix {

namespace {

// The maker's name, carried by the trailer of every analysis file.
constexpr std::string_view kMakerName = "Brennick,Inc.";

bool isFileArgument(const std::string& argument) {
    if (argument.size() != 9) return false;
    for (size_t i = 0; i < 8; ++i)
        if (argument[i] < '0' || argument[i] > '9') return false;
    return argument[8] >= 'a' && argument[8] <= 'z';
}

}  // namespace

int DownloadAnalysisFile(const Folders& folders, const std::string& argument, const ServiceAddress& address,
                         Pump& pump, const PostOptions& options) {
    if (!isFileArgument(argument)) return -1;
    std::string received;
    const int posted = PostForm(address, kServicePath, "rd=" + argument, received, pump, options);
    if (posted == kPostCancelled) {
        DeleteCache(folders, 'a', argument);
        return kDownloadCancelled;
    }
    // Bytes that cannot be read as Japanese text are no answer at all.
    const auto text = posted > 0 ? ResponseText(received) : std::nullopt;
    if (text && text->find(kMakerName) != std::string::npos) {
        const auto stored = Utf8ToCp932(std::string("0,") + kDownloadedFileToken + "\r\n" + *text);
        if (stored && WriteFileAtomically(folders.cache / ("cachea" + argument), *stored)) return 0;
        DeleteCache(folders, 'a', argument);
        return -1;
    }
    DeleteCache(folders, 'a', argument);
    if (!text) return -1;
    if (text->find("err3") != std::string::npos) return kServiceMaintenance;
    if (text->find("err6") != std::string::npos) return kNoAnalysisFile;
    return -1;
}

}  // namespace veltrix
