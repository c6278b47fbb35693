#pragma once
// How store routines that empty the store reach the race card: the main window
// implements ResetData (blank race card, closed secondary windows); headless
// callers, which have no race card, pass NoRaceCard.

namespace veltrix {

class RaceCardReset {
public:
    virtual ~RaceCardReset() = default;
    virtual void ResetData() = 0;
};

class NoRaceCard final : public RaceCardReset {
public:
    void ResetData() override {}
};

}  // namespace veltrix
