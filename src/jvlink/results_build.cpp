#include "jvlink/results_build.h"

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "jvlink/records.h"
#include "jvlink/weekly_import.h"

namespace veltrix {

namespace {

constexpr const char* kDownloadText = "成績情報をダウンロード中...";
constexpr const char* kCancelQuestion = "成績情報のインポートを中止しますか？";
constexpr const char* kFinalCategory = "7";

// Byte position (0-based) and length of a field in the SE record.
struct Span {
    std::size_t from = 0;
    std::size_t len = 0;
};

struct SeSpans {
    Span frame, horse, name, sex, age, trainer, carried, jockey, body, sign, change, abnormality, arrival,
        placing, time, corners[4], odds, popularity, last3F;
};

// The positions come from the SE layout itself, so they are written down once.
const SeSpans& seSpans() {
    static const SeSpans spans = [] {
        SeRecord r;
        SeSpans s;
        const std::pair<const std::string*, Span*> wanted[] = {
            {&r.frameNumber, &s.frame},
            {&r.horseNumber, &s.horse},
            {&r.horseName, &s.name},
            {&r.sexCode, &s.sex},
            {&r.age, &s.age},
            {&r.trainerName, &s.trainer},
            {&r.weightCarried, &s.carried},
            {&r.jockeyName, &s.jockey},
            {&r.bodyWeight, &s.body},
            {&r.weightSign, &s.sign},
            {&r.weightChange, &s.change},
            {&r.abnormality, &s.abnormality},
            {&r.arrivalOrder, &s.arrival},
            {&r.finalPlacing, &s.placing},
            {&r.raceTime, &s.time},
            {&r.cornerPositions[0], &s.corners[0]},
            {&r.cornerPositions[1], &s.corners[1]},
            {&r.cornerPositions[2], &s.corners[2]},
            {&r.cornerPositions[3], &s.corners[3]},
            {&r.winOdds, &s.odds},
            {&r.popularity, &s.popularity},
            {&r.last3F, &s.last3F},
        };
        layout::visit(r, [&](int pos, int len, std::string& field) {
            for (const auto& [member, span] : wanted)
                if (member == &field)
                    *span = {static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(len)};
        });
        return s;
    }();
    return spans;
}

// "2009/01/17" from the first eight characters of a race id or stamp.
std::string slashedDate(std::string_view yyyymmdd) {
    std::string out(yyyymmdd.substr(0, 4));
    out.append("/").append(yyyymmdd.substr(4, 2)).append("/").append(yyyymmdd.substr(6, 2));
    return out;
}

std::string updatingText(std::string_view yyyymmdd) {
    return "成績情報データベース (" + slashedDate(yyyymmdd) + ") を更新中...";
}

// One run of the build: what it read at the start, what it has written, and the
// race whose runners are still collected in memory (written with one open when
// the next race begins).
class SeisekiBuild {
public:
    SeisekiBuild(SeisekiBuildContext& ctx, DatabaseInfo info)
        : ctx_(ctx), info_(std::move(info)), fromDay_(info_.stamp.substr(0, 8)) {}

    int run(int option) {
        // A resume point: the files of that day and later may be half written.
        if (info_.stamp.compare(8, 6, "000000") == 0 && DeleteSeisekiFilesFrom(ctx_.dataFolder, fromDay_) < 0)
            return abort();

        SessionRequest request = SessionRequest::stored("RACE", info_.stamp, option, kDownloadText);
        request.bufferSize = kReadBufferStored;
        // The stream mixes record types; the others are read past, not skipped.
        request.skipUnusedTypes = false;
        request.onReadStart = [this](int) { startReading(); };
        request.confirmCancel = [this] { return confirmCancel(); };
        request.onEndOfData = [this] { return finish(); };
        const int result = RunSession(ctx_.session, ctx_.jv, request, ctx_.ui, ctx_.pump, ctx_.clock,
                                      [this](std::string_view record) { return take(record); });
        return result == 0 ? 0 : abort();
    }

private:
    void startReading() {
        const long long size = ctx_.jv.TotalReadFilesize();
        progressMax_ = size > INT_MAX ? INT_MAX : static_cast<int>(size < 0 ? 0 : size);
        ctx_.ui.setProgressMax(progressMax_);
        ctx_.ui.setProgress(0);
        showDay(fromDay_);
    }

    bool confirmCancel() {
        const bool stop = ctx_.ui.askYesNo(kCancelQuestion, Icon::Warning, true);
        if (!stop) ctx_.changes.notify(Change::CancelWithdrawn);
        return stop;
    }

    void advanceProgress(std::size_t bytes) {
        const double step = static_cast<double>(bytes) / 1024.0;
        if (progress_ + step > progressMax_) return;
        progress_ += step;
        const int shown = static_cast<int>(progress_);
        if (shown != progressShown_) {
            progressShown_ = shown;
            ctx_.ui.setProgress(shown);
        }
    }

    void showDay(std::string_view day) {
        if (day == statusDay_) return;
        statusDay_ = day;
        ctx_.ui.setStatus(updatingText(day));
    }

    RecordUse take(std::string_view record) {
        advanceProgress(record.size());
        if (record.size() < 3 || record.substr(0, 2) != "SE" || record.substr(2, 1) != kFinalCategory)
            return RecordUse::Unused;
        // Only a 16-digit race id names a file.
        std::string raceId = RaceIdOf(record);
        if (raceId.empty() || raceId.compare(0, 8, fromDay_) < 0) return RecordUse::Unused;
        auto runner = SeisekiRecordOf(record);
        // A damaged record is passed over: failing here would stop every later build at it.
        if (!runner) return RecordUse::Damaged;

        const std::string_view day = std::string_view(raceId).substr(0, 8);
        if (day != resumeDay_) {
            // Everything before this day is on disk before the state file says so.
            if (!flush()) return RecordUse::Failed;
            if (WriteResumePoint(ctx_.dataFolder, std::string(day), info_.state) < 0)
                return RecordUse::Failed;
            resumeDay_ = day;
        } else if (raceId != pendingRace_ && !flush()) {
            return RecordUse::Failed;
        }
        showDay(day);
        pending_.push_back(std::move(*runner));
        pendingRace_ = raceId;
        lastRaceId_ = std::move(raceId);
        return RecordUse::Used;
    }

    bool flush() {
        if (pending_.empty()) return true;
        const bool ok = AppendSeisekiRaceFile(ctx_.dataFolder, pendingRace_, pending_) == 0;
        pending_.clear();
        return ok;
    }

    bool finish() {
        if (!flush()) return false;
        const std::string stamp = ctx_.jv.CurrentFileTimeStamp();
        // A stamp the state file cannot hold would restart the database from 2000.
        if (!IsDatabaseStamp(stamp) || WriteDatabaseInfo(ctx_.dataFolder, stamp, kStateNormal) < 0)
            return false;
        ctx_.ui.setProgress(progressMax_);
        return true;
    }

    // Back to the start of the last day written (or of the stored stamp): its
    // files go and the state file points at it, with the state read at the start.
    int abort() {
        pending_.clear();
        std::string day = fromDay_;
        if (!lastRaceId_.empty() && lastRaceId_.compare(0, 8, fromDay_) > 0) day = lastRaceId_.substr(0, 8);
        // Nothing more can be done about a failure here: the next build repeats the clean-up.
        DeleteSeisekiFilesFrom(ctx_.dataFolder, day);
        WriteDatabaseInfo(ctx_.dataFolder, day + "000000", info_.state);
        return -1;
    }

    SeisekiBuildContext& ctx_;
    const DatabaseInfo info_;
    const std::string fromDay_;
    std::string resumeDay_;  // the day recorded as resume point by this build
    std::string lastRaceId_;
    std::string pendingRace_;
    std::vector<SeisekiRecord> pending_;
    std::string statusDay_;
    int progressMax_ = 0;
    double progress_ = 0;
    int progressShown_ = 0;
};

}  // namespace

std::optional<SeisekiRecord> SeisekiRecordOf(std::string_view record) {
    std::string_view body = record;
    if (body.size() == kSeLength) {
        if (body.substr(kSeLength - 2) != "\r\n") return std::nullopt;
        body.remove_suffix(2);
    } else if (body.size() != kSeLength - 2) {
        return std::nullopt;
    }
    if (body.substr(0, 2) != "SE") return std::nullopt;

    bool ok = true;
    auto text = [&](Span s) {
        auto t = Cp932ToUtf8(body.substr(s.from, s.len));
        if (!t) {
            ok = false;
            return std::string();
        }
        return std::move(*t);
    };
    auto trimmed = [&](Span s) { return std::string(TrimField(text(s))); };
    const SeSpans& s = seSpans();
    namespace c = seiseki_col;
    SeisekiRecord r;
    r[c::kFrame] = text(s.frame);
    r[c::kHorseNumber] = text(s.horse);
    r[c::kAbnormality] = text(s.abnormality);
    r[c::kHorseName] = trimmed(s.name);
    r[c::kSex] = text(s.sex);
    r[c::kAge] = text(s.age);
    r[c::kWeightCarried] = text(s.carried);
    r[c::kBodyWeight] = text(s.body);
    r[c::kWeightChange] = text(s.sign) + text(s.change);
    r[c::kJockey] = trimmed(s.jockey);
    r[c::kTrainer] = trimmed(s.trainer);
    r[c::kTime] = text(s.time);
    r[c::kLast3F] = text(s.last3F);
    for (const Span& corner : s.corners) r[c::kCorners] += text(corner);
    r[c::kArrival] = text(s.arrival);
    r[c::kPlacing] = text(s.placing);
    r[c::kWinOdds] = text(s.odds);
    r[c::kPopularity] = text(s.popularity);
    if (!ok) return std::nullopt;
    return r;
}

int CreateSeisekiDatabase(SeisekiBuildContext& ctx) {
    try {
        DatabaseInfo info;
        // Without the state file nothing is known of the database, so nothing is rolled back.
        if (ReadDatabaseInfo(ctx.dataFolder, info) < 0) return -1;
        int option = 1;
        if (info.state == kStateSetup) {
            option = 3;
            const std::string question = slashedDate(info.stamp) +
                                         " 以降の成績情報データベースを作成します。\n" +
                                         "（ディスク容量：1年 約5MB,作成時間：1年 約15分）";
            if (!ctx.ui.askOkCancel(question, Icon::Information)) return -1;
        }
        SeisekiBuild build(ctx, std::move(info));
        return build.run(option);
    } catch (...) {
        // RunSession turns failures while reading into its result; what gets
        // here (an allocation failure) ends the build. Its resume point in the
        // state file stays, so the next build cleans up after it.
        return -1;
    }
}

}  // namespace veltrix
