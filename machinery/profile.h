// Where a run's time goes: the wall time of every callee of the schedule, per
// call and in total, printed at the end of a run with --profile.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

class PhaseProfile {
public:
    using Clock = std::chrono::steady_clock;

    // The index of the phase of this name (made on first use).
    int Phase(const std::string& name);
    void Add(int phase, Clock::duration spent);
    // Starts and stops the clock of the whole run.
    void Start() { started_ = Clock::now(); }
    void Stop(long steps) {
        total_ = Clock::now() - started_;
        steps_ = steps;
    }
    // One line per phase: calls, total seconds, milliseconds per call and
    // per step, share of the run; then what the phases leave of the run's
    // time (the loop and everything not timed).
    void Print(FILE* out) const;

private:
    struct Entry {
        std::string name;
        long calls = 0;
        Clock::duration spent{};
    };
    std::vector<Entry> phases_;
    Clock::time_point started_{};
    Clock::duration total_{};
    long steps_ = 0;
};

// The profile of the run, null unless the run was asked for one.
extern PhaseProfile* runProfile;

// Times a call into the run's profile (does nothing without one).
template <typename F>
void Timed(int phase, F&& call) {
    if (runProfile == nullptr) {
        call();
        return;
    }
    const PhaseProfile::Clock::time_point t0 = PhaseProfile::Clock::now();
    call();
    runProfile->Add(phase, PhaseProfile::Clock::now() - t0);
}
