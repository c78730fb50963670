// How often a costly redraw may run so that it takes at most a given share
// of the time: after a redraw that took d seconds, the next one is due d /
// share seconds after that one started. Cheap redraws thus run every time,
// costly ones (a large chart on a slow display) are spaced out. Times are
// seconds on any steady clock. No toolkit here.
#pragma once

class RedrawBudget {
public:
    explicit RedrawBudget(double share) : share(share) {}
    bool due(double now) const { return !spent || now >= nextDue; }
    void record(double start, double end)
    {
        spent = true;
        nextDue = start + (end - start) / share;
    }

private:
    double share;
    bool spent = false;
    double nextDue = 0.0;
};
