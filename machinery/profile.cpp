// Where a run's time goes.
#include "profile.h"

PhaseProfile* runProfile = nullptr;

int PhaseProfile::Phase(const std::string& name) {
    for (size_t k = 0; k < phases_.size(); k++)
        if (phases_[k].name == name) return static_cast<int>(k);
    phases_.push_back(Entry{name});
    return static_cast<int>(phases_.size() - 1);
}

void PhaseProfile::Add(int phase, Clock::duration spent) {
    Entry& e = phases_[static_cast<size_t>(phase)];
    e.calls++;
    e.spent += spent;
}

void PhaseProfile::Print(FILE* out) const {
    using Seconds = std::chrono::duration<double>;
    const double total = Seconds(total_).count();
    const double steps = steps_ > 0 ? static_cast<double>(steps_) : 1.0;
    fprintf(out, "\nprofile of %ld steps, %.1f s of wall time (%.4f ms per step):\n", steps_, total,
            1000.0 * total / steps);
    fprintf(out, "  %-32s %10s %10s %12s %12s %7s\n", "phase", "calls", "seconds", "ms per call", "ms per step",
            "share");
    double timed = 0;
    for (const Entry& e : phases_) {
        if (e.calls == 0) continue;
        const double s = Seconds(e.spent).count();
        timed += s;
        fprintf(out, "  %-32s %10ld %10.2f %12.4f %12.4f %6.1f%%\n", e.name.c_str(), e.calls, s,
                e.calls > 0 ? 1000.0 * s / e.calls : 0.0, 1000.0 * s / steps, total > 0 ? 100.0 * s / total : 0.0);
    }
    const double rest = total - timed;
    fprintf(out, "  %-32s %10s %10.2f %12s %12.4f %6.1f%%\n", "(loop and the rest)", "", rest, "",
            1000.0 * rest / steps, total > 0 ? 100.0 * rest / total : 0.0);
}
