#pragma once
// How the core tells windows that its state changed. The core never names a
// window: a window subscribes to the changes of what it shows and redraws from
// the state when one arrives.
#include <cstdint>
#include <functional>
#include <vector>

namespace veltrix {

enum class Change {
    StoreReplaced,         // the weekly store was imported, emptied or merged anew
    RaceCardReset,         // the race card shows no race (or is about to show another)
    RaceOpened,            // the race card's rows were built for the race of lblRace
    RunnerChosen,          // a runner was chosen by its name cell (HistoryUmaban)
    CalculationDone,       // the figures, labels and predictions of the race card were calculated
    BetListLoaded,         // KaimeData was read with the race
    OddsApplied,           // the odds, forecast or result tables were copied onto the race card
    HideSecondaryWindows,  // another window is about to open over the race card
    PaneChanged,           // a pane run was switched or the timeline chart's option changed
    CommandStarted,        // a command runs: no window takes input until it has finished
    CommandFinished,
    CancelWithdrawn,  // a cancel was answered No: the command goes on, its cancel control live again
};

// The change's name as written here ("RaceOpened"), for logs.
const char* ChangeName(Change change);

class ChangeNotifier;

// Unsubscribes when it goes; move-only.
class Subscription {
public:
    Subscription() = default;
    ~Subscription() { reset(); }
    Subscription(Subscription&& other) noexcept : notifier_(other.notifier_), id_(other.id_) {
        other.notifier_ = nullptr;
    }
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    void reset();

private:
    friend class ChangeNotifier;
    Subscription(ChangeNotifier* notifier, std::uint64_t id) : notifier_(notifier), id_(id) {}
    ChangeNotifier* notifier_ = nullptr;
    std::uint64_t id_ = 0;
};

class ChangeNotifier {
public:
    using Handler = std::function<void(Change)>;

    ChangeNotifier() = default;
    ChangeNotifier(const ChangeNotifier&) = delete;
    ChangeNotifier& operator=(const ChangeNotifier&) = delete;

    // Handlers run in the order they subscribed.
    [[nodiscard]] Subscription subscribe(Handler handler);
    // A handler may subscribe or unsubscribe while it runs: one that goes is not
    // called any more, one that comes hears from the next change on. A handler
    // that throws ends quietly; the others still hear of the change.
    void notify(Change change);

    // True while a CommandScope is open.
    bool commandRunning() const { return commandDepth_ > 0; }

private:
    friend class Subscription;
    friend class CommandScope;
    void unsubscribe(std::uint64_t id);

    struct Entry {
        std::uint64_t id;
        Handler handler;
    };
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
    int commandDepth_ = 0;
};

// Brackets a command: CommandStarted when the outermost one begins,
// CommandFinished when it ends (also by an exception).
class CommandScope {
public:
    explicit CommandScope(ChangeNotifier& changes);
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    ChangeNotifier& changes_;
};

}  // namespace veltrix
