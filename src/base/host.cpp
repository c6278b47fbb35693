#include "base/host.h"

#include <chrono>
#include <thread>

namespace veltrix {

std::int64_t SystemClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool ImportWindowMayClose(PendingClose& close, bool commandRunning, Pump& pump) {
    if (!commandRunning) return true;
    pump.requestCancel();
    close.requested = true;
    return false;
}

bool TakePendingClose(PendingClose& close) {
    const bool pending = close.requested;
    close.requested = false;
    return pending;
}

}  // namespace veltrix
