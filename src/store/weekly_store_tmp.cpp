// Temporary: the store searches and clearing the analysis readers need, until
// the weekly store lands. Drop this file when merging it.
#include <filesystem>
#include <system_error>

#include "store/cache_files.h"
#include "store/weekly_store.h"

namespace veltrix {

void ClearRaceCache(Store& store) {
    store.RaceInfo.clear();
    store.UmaInfo.clear();
    store.HistoryInfo.clear();
    store.RaceLabel.clear();
    store.RaceIdList.clear();
    store.UmaKey.clear();
    store.HistoryKey.clear();
    store.RaceCount = 0;
    store.UmaCount = 0;
    store.HistoryCount = 0;
    store.DataMode.clear();
}

int FindUmaKey(const Store& store, const std::string& key, int first, int last) {
    if (first < 1) first = 1;
    if (last > store.UmaKey.size()) last = store.UmaKey.size();
    for (int i = first; i <= last; ++i)
        if (store.UmaKey[i] == key) return i;
    return -1;
}

int FindHistoryKey(const Store& store, const std::string& key, int low, int high) {
    if (low < 1) low = 1;
    if (high > store.HistoryKey.size()) high = store.HistoryKey.size();
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = store.HistoryKey[mid].compare(key);
        if (c == 0) return mid;
        if (c < 0) low = mid + 1;
        else high = mid - 1;
    }
    return -1;
}

void DeleteCache(const Folders& folders, char kind, const std::string& raceId) {
    std::error_code ec;
    const std::string prefix = std::string("cache") + kind;
    if (raceId != "*") {
        std::filesystem::remove(folders.cache / (prefix + raceId), ec);
        return;
    }
    for (auto it = std::filesystem::directory_iterator(folders.cache, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (it->path().filename().string().rfind(prefix, 0) == 0) std::filesystem::remove(it->path(), ec);
    }
}

}  // namespace veltrix
