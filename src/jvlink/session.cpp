#include "jvlink/session.h"

#include <algorithm>
#include <cstdint>

#include "jvlink/records.h"

namespace veltrix {

namespace {

constexpr int kNotInitialised = -201;

}  // namespace

int RunSession(SessionState& state, JVLink& jv, const SessionRequest& request, UserInterface& ui, Pump& pump,
               Clock& clock, const RecordHandler& onRecord) {
    bool tmrDownload = false;
    auto close = [&]() {
        tmrDownload = false;
        int result = 0;
        if (state.SessionOpen) {
            result = jv.JVClose();
            state.SessionOpen = false;
        }
        return result;
    };
    auto fail = [&]() {
        close();
        return -1;
    };

    try {
        const bool stored = !request.realTime;
        int readCount = 0;
        auto open = [&]() {
            if (!stored) {
                state.DownloadCount = 0;
                return jv.JVRTOpen(request.dataSpec, request.key);
            }
            int downloadCount = 0;
            std::string lastFileTimeStamp;
            int r = jv.JVOpen(request.dataSpec, request.fromTime, request.option, readCount, downloadCount,
                              lastFileTimeStamp);
            state.DownloadCount = downloadCount;
            return r;
        };

        state.DownloadDone = false;
        state.DownloadCount = 0;
        int result = open();
        state.SessionOpen = true;
        if (result == kNotInitialised) {
            if (jv.JVInit(SoftwareId) != 0) return fail();
            result = open();
        }
        if (result != 0) return fail();

        bool barShown = false;
        std::int64_t nextTick = 0;
        if (state.DownloadCount <= 0) {
            state.DownloadDone = true;
        } else {
            if (stored) {
                ui.setStatus(request.downloadStatus);
                ui.setProgressMax(state.DownloadCount);
                ui.setProgress(0);
                barShown = true;
            }
            tmrDownload = true;
            nextTick = clock.nowMs() + kDownloadPollMs;
        }

        while (!state.DownloadDone) {
            pump.processEvents();
            if (pump.cancelRequested()) return fail();
            if (tmrDownload && clock.nowMs() >= nextTick) {
                nextTick = clock.nowMs() + kDownloadPollMs;
                int status = jv.JVStatus();
                // A failed download never completes: waiting for it would leave the user
                // looking at a stalled bar until they cancel, so it ends the session.
                if (status < 0) return fail();
                if (status >= state.DownloadCount) {
                    state.DownloadDone = true;
                } else if (stored) {
                    ui.setProgress(status);
                }
            }
            if (!state.DownloadDone) clock.sleepMs(kWaitTurnMs);
        }
        tmrDownload = false;
        if (barShown) ui.setProgress(state.DownloadCount);

        if (stored && readCount <= 0) return close();
        if (request.onReadStart) request.onReadStart(readCount);

        // Fresh buffers for every read, so nothing of an earlier record survives.
        std::string buff;
        std::string fileName;
        bool inFile = false;  // a record of the current file was delivered
        buff.reserve(static_cast<std::size_t>(request.bufferSize));
        fileName.reserve(kFileNameBufferSize);
        for (;;) {
            pump.processEvents();
            if (pump.cancelRequested()) {
                if (request.confirmCancel && !request.confirmCancel())
                    pump.clearCancel();
                else
                    return fail();
            }
            buff.clear();
            fileName.clear();
            int n = jv.JVRead(buff, request.bufferSize, fileName);
            if (n > 0) {
                std::string_view record(buff.data(), std::min(buff.size(), static_cast<std::size_t>(n)));
                RecordUse use = onRecord(record);
                if (use == RecordUse::Failed) return fail();
                if (use == RecordUse::Last) break;
                if (use == RecordUse::Unused && inFile && !IsJVDataRecordKind(record))
                    use = RecordUse::Damaged;
                inFile = true;
                if (use == RecordUse::Damaged) {
                    ++state.PassedOver;
                } else if (use == RecordUse::Unused && request.skipUnusedTypes) {
                    jv.JVSkip();
                }
            } else if (n == 0) {
                if (request.onEndOfData && !request.onEndOfData()) return fail();
                break;
            } else if (n == -1) {
                inFile = false;
                continue;
            } else if (n == -3) {
                clock.sleepMs(kWaitTurnMs);  // the next file is still arriving
            } else {
                return fail();
            }
        }
        return close();
    } catch (...) {
        // A failure inside an import's record handling takes the same close path.
        return fail();
    }
}

int ConfigJVLink(JVLink& jv, UserInterface& ui) {
    int result = jv.JVSetUIProperties();
    if (result != 0) ui.showMessage("JV-Link Error:" + std::to_string(result), Icon::Warning);
    return result;
}

int InitJVLinkAtStartup(JVLink& jv, UserInterface& ui) {
    int result = jv.JVInit(SoftwareId);
    if (result != 0) ui.showMessage(kJVLinkInitFailedMessage, Icon::Warning);
    return result;
}

VideoResult PlayRaceVideo(JVLink& jv, UserInterface& ui, const std::string& raceId) {
    if (raceId.empty()) return VideoResult::NoRace;
    int check = jv.JVMVCheck(raceId);
    if (check == kNotInitialised) {
        if (jv.JVInit(SoftwareId) != 0) {
            ui.showMessage(kJVLinkInitFailedMessage, Icon::Warning);
            return VideoResult::InitFailed;
        }
        check = jv.JVMVCheck(raceId);
    }
    if (check != 1) {
        ui.showMessage("このレースの映像は公開されていません。", Icon::Warning);
        return VideoResult::NotPublished;
    }
    if (jv.JVMVPlay(raceId) != 0) {
        ui.showMessage("JRA RACING VIEWER の再生に失敗しました。", Icon::Warning);
        return VideoResult::PlayFailed;
    }
    return VideoResult::Played;
}

}  // namespace veltrix
