#include "sample_program.h"

#include <QDir>

#include "app/startup.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"

namespace veltrix::test {

QString ScreenshotDir() {
    const QByteArray env = qgetenv("VELTRIX_SCREENSHOT_DIR");
    const QString dir = env.isEmpty() ? QStringLiteral(VELTRIX_SCREENSHOT_DIR) : QString::fromLocal8Bit(env);
    QDir().mkpath(dir);
    return dir;
}

std::string MakeSampleProgramFolder(const std::filesystem::path& folder, std::uint32_t seed) {
    sample::SampleOptions o;
    o.seed = seed;
    o.small = true;
    o.resultsYears = 0;
    sample::WriteSampleProgramFolder(folder, o);
    std::string reason;
    if (!sample::ImportSampleWeek(folder, o.seed, reason))
        return reason.empty() ? "the week was not imported" : reason;
    return {};
}

std::string StartOn(Application& app, const std::filesystem::path& folder) {
    StoreLoad load;
    std::string reason;
    if (StartApplication(app, folder, load, reason))
        return reason.empty() ? "the start-up load failed" : reason;
    return {};
}

}  // namespace veltrix::test
