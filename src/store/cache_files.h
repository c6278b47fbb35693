#pragma once
// Deleting store files by kind.
#include <string>

#include "base/folders.h"

namespace veltrix {

// Deletes CacheFolder/"cache" + kind + raceId. With raceId "*" every file whose
// name begins with "cache" + kind is deleted. Errors are ignored.
void DeleteCache(const Folders& folders, char kind, const std::string& raceId);

}  // namespace veltrix
