#pragma once
// One analysis file from the service into the cache folder.
#include <string>

#include "base/folders.h"
#include "base/host.h"
#include "service/post_form.h"

namespace veltrix {

// Results of DownloadAnalysisFile besides 0 (stored) and -1 (any other failure).
inline constexpr int kDownloadCancelled = kPostCancelled;  // the transfer was cancelled
inline constexpr int kServiceMaintenance = -103;           // the service answered "err3"
inline constexpr int kNoAnalysisFile = -106;               // the service answered "err6"

// The first line of a downloaded file is "0," and this token; the readers do
// not interpret it.
inline constexpr const char* kDownloadedFileToken = "ORVANTE";

// POSTs rd=argument ("00000000p", or YYYYMMDD + "r" / "t") to the service and
// stores the answer as CacheFolder/"cachea" + argument, written through a
// temporary file and renamed, when its text holds the maker's name. Any other
// answer deletes the file of that name, so no stale file is read later, and
// returns -901, -103, -106 or -1. An argument that is not 8 digits and a
// lower-case letter names no file: -1 and nothing is touched.
int DownloadAnalysisFile(const Folders& folders, const std::string& argument, const ServiceAddress& address,
                         Pump& pump, const PostOptions& options = {});

}  // namespace veltrix
