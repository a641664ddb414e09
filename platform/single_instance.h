// One copy of the program per session: a later start hands over to the
// running one instead of polling the hotkeys and saving the settings twice.
#pragma once

#include <functional>

namespace lumatone {

class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    // True when no other copy runs: this one holds the claim until it ends.
    virtual bool Claim() = 0;
    // Asks the copy holding the claim to show its window in front; false
    // while it has nothing to take the request.
    virtual bool AskToShow() = 0;
    // Runs on the interface thread when a later copy asks this one to show.
    virtual void OnShowAsked(std::function<void()> show) = 0;
    virtual void Pause(int milliseconds) = 0;
};

// 1.5 s of tries: the running copy may not have its window yet, or may be
// ending and about to let go of its claim.
constexpr int kHandOverTries = 30;
constexpr int kHandOverPauseMs = 50;

// Whether this copy is to run; false once it handed over, or gave up on a
// copy that holds the claim but never answers.
inline bool ClaimOrHandOver(SingleInstance& instance) {
    for (int tries = 0; tries < kHandOverTries; ++tries) {
        if (instance.Claim())
            return true;
        if (instance.AskToShow())
            return false;
        instance.Pause(kHandOverPauseMs);
    }
    return false;
}

} // namespace lumatone
