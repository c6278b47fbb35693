#include "base/changes.h"

#include <algorithm>
#include <exception>

namespace veltrix {

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        notifier_ = other.notifier_;
        id_ = other.id_;
        other.notifier_ = nullptr;
    }
    return *this;
}

void Subscription::reset() {
    if (notifier_) notifier_->unsubscribe(id_);
    notifier_ = nullptr;
}

Subscription ChangeNotifier::subscribe(Handler handler) {
    const std::uint64_t id = nextId_++;
    entries_.push_back({id, std::move(handler)});
    return Subscription(this, id);
}

void ChangeNotifier::unsubscribe(std::uint64_t id) {
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

void ChangeNotifier::notify(Change change) {
    // Ids are handed out in ascending order, so walking by id survives handlers
    // that subscribe or unsubscribe meanwhile.
    std::uint64_t last = 0;
    const std::uint64_t end = nextId_;
    for (;;) {
        auto next = std::find_if(entries_.begin(), entries_.end(),
                                 [last, end](const Entry& e) { return e.id > last && e.id < end; });
        if (next == entries_.end()) return;
        last = next->id;
        Handler handler = next->handler;  // the entry may go while it runs
        // A window that fails to redraw ends its handler quietly; the command
        // and the other windows go on.
        try {
            handler(change);
        } catch (const std::exception&) {
        }
    }
}

CommandScope::CommandScope(ChangeNotifier& changes) : changes_(changes) {
    if (changes_.commandDepth_++ == 0) changes_.notify(Change::CommandStarted);
}

CommandScope::~CommandScope() {
    if (--changes_.commandDepth_ == 0) changes_.notify(Change::CommandFinished);
}

const char* ChangeName(Change change) {
    switch (change) {
        case Change::StoreReplaced:
            return "StoreReplaced";
        case Change::RaceCardReset:
            return "RaceCardReset";
        case Change::RaceOpened:
            return "RaceOpened";
        case Change::RunnerChosen:
            return "RunnerChosen";
        case Change::CalculationDone:
            return "CalculationDone";
        case Change::BetListLoaded:
            return "BetListLoaded";
        case Change::OddsApplied:
            return "OddsApplied";
        case Change::HideSecondaryWindows:
            return "HideSecondaryWindows";
        case Change::PaneChanged:
            return "PaneChanged";
        case Change::CommandStarted:
            return "CommandStarted";
        case Change::CommandFinished:
            return "CommandFinished";
        case Change::CancelWithdrawn:
            return "CancelWithdrawn";
    }
    return "";
}

}  // namespace veltrix
