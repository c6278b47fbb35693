#pragma once
// The one way every import talks to JV-Link: open, wait for the download,
// read the records, close. Plus the three single calls made outside imports
// (settings dialog, start-up initialisation, race video).
#include <functional>
#include <string>
#include <string_view>

#include "base/host.h"
#include "jvlink/jvlink.h"

namespace veltrix {

// Buffer sizes handed to JVRead.
inline constexpr int kReadBufferStored = 30000;  // stored-data imports and results
inline constexpr int kReadBufferOdds = 83500;
inline constexpr int kReadBufferMining = 305;
inline constexpr int kFileNameBufferSize = 256;

// tmrDownload: the download poll interval.
inline constexpr int kDownloadPollMs = 100;
// Pause per turn of the download wait, so waiting does not spin the processor.
inline constexpr int kWaitTurnMs = 10;

// Session fields kept by the import window and shared by all its imports.
struct SessionState {
    bool SessionOpen = false;  // an open call was made and JVClose not yet
    int DownloadCount = 0;     // files to download before reading (0 for real-time data)
    bool DownloadDone = false;
    // Damaged records the sessions passed over (see RecordUse::Damaged). Every
    // session adds to it; the command that reports it clears it when it starts.
    int PassedOver = 0;
};

// What an import did with one record.
enum class RecordUse {
    Used,     // the record's type is one the import reads
    Unused,   // a type the import does not read: the rest of its file is skipped when asked to
    Damaged,  // a type the import reads, but not whole (wrong length, bytes that are not text):
              // passed over and counted, the file is read on
    Failed,   // the import cannot go on: the session closes with failure
    Last,     // the import has all it needs: reading ends as at the end of the data
};

// The record as JV-Link delivered it: CP932 bytes including CR LF. Valid during the call only.
using RecordHandler = std::function<RecordUse(std::string_view record)>;

struct SessionRequest {
    bool realTime = false;
    std::string dataSpec;
    std::string fromTime;  // stored data: 14 digits
    int option = 2;        // stored data: 1 normal, 2 this week, 3 set-up
    std::string key;       // real-time data: the race id
    int bufferSize = kReadBufferStored;
    // Unused record types skip the rest of their file (all but the results imports).
    bool skipUnusedTypes = true;
    // Stored data: status text while downloading (the bar then counts the files).
    std::string downloadStatus;
    // Before the first read; stored data reaches it only when the read count is above 0.
    std::function<void(int readCount)> onReadStart;
    // Cancel seen while reading: true ends the session; false clears the request and reads on.
    // Empty: cancel ends the session at once.
    std::function<bool()> confirmCancel;
    // JVRead reported the end of the data; runs before JVClose. false fails the session.
    std::function<bool()> onEndOfData;

    static SessionRequest stored(std::string dataSpec, std::string fromTime, int option,
                                 std::string downloadStatus) {
        SessionRequest r;
        r.dataSpec = std::move(dataSpec);
        r.fromTime = std::move(fromTime);
        r.option = option;
        r.downloadStatus = std::move(downloadStatus);
        return r;
    }
    static SessionRequest realTimeData(std::string dataSpec, std::string key, int bufferSize,
                                       bool skipUnusedTypes) {
        SessionRequest r;
        r.realTime = true;
        r.dataSpec = std::move(dataSpec);
        r.key = std::move(key);
        r.bufferSize = bufferSize;
        r.skipUnusedTypes = skipUnusedTypes;
        return r;
    }
};

// Runs one session. Returns JVClose's value when all data was read (0 normally),
// -1 on failure or cancel; the session is closed either way. A negative JVStatus
// ends the session as a failure at once. A record of no JV-Data kind after the
// first record of a file is damage, not a file of another kind: it is counted
// in PassedOver and the file is read on.
int RunSession(SessionState& state, JVLink& jv, const SessionRequest& request, UserInterface& ui, Pump& pump,
               Clock& clock, const RecordHandler& onRecord);

// cmdConfigJVLink: JV-Link's settings dialog. Returns its result; non-zero is reported.
int ConfigJVLink(JVLink& jv, UserInterface& ui);

// What the user is told when JV-Link cannot be initialised (or not even created).
inline constexpr const char* kJVLinkInitFailedMessage = "JV-Linkの初期化に失敗しました。";

// Start-up: JVInit. Returns its result; non-zero is reported and the caller ends the program.
int InitJVLinkAtStartup(JVLink& jv, UserInterface& ui);

enum class VideoResult { NoRace, Played, InitFailed, NotPublished, PlayFailed };

// Plays the race video of the race id (the caption of lblJRV); an empty id does nothing.
VideoResult PlayRaceVideo(JVLink& jv, UserInterface& ui, const std::string& raceId);

}  // namespace veltrix
