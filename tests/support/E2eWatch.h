#pragma once
// Timed effects watched through screenshots. A screenshot takes a while (a
// program is started for each, slower still on a busy machine), so each one
// is judged by the span it was taken in: a check fails only when no moment
// of that span could have shown what the screenshot shows.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "support/E2eProgram.h"

namespace vlo::e2e {

// A screenshot and the span it was taken in, in seconds on the test's clock.
struct TimedShot {
    Screenshot picture;
    double start = 0.0;
    double end = 0.0;
};

template <class TakeShot, class Since> TimedShot timedShot(TakeShot takeShot, Since since)
{
    TimedShot s;
    s.start = since();
    s.picture = takeShot();
    s.end = since();
    return s;
}

// One change (a caption swapped, a picture faded) seen through screenshots:
// it came after `notYet`, the start of the last screenshot without it, and
// before `seen`, the end of the first one with it (-1 when never seen).
struct SeenChange {
    double notYet = -1.0;
    double seen = -1.0;

    void note(bool shows, const TimedShot& s)
    {
        if (seen >= 0.0)
            return;
        if (shows)
            seen = s.end;
        else
            notYet = s.start;
    }
};

// The title overlay of the standard show: its red picture over the whole
// window at alpha |sin(pi t / 8.5)| for t in [0, 8.5] s, then gone. Its clock
// starts just before the window shows, so t is at least the time since the
// window appeared; `lag` allows for the frame on screen being older than the
// screenshot and for the window being found a little late.
struct TitleWatch {
    std::string fault;   // the first screenshot the fade cannot explain
    bool opaque = false; // seen opaque at every point given
    int shots = 0;       // screenshots judged, from the first frame on
};

inline double titleAlphaAt(double t)
{
    const double duration = 8.5;
    if (t <= 0.0 || t >= duration)
        return 0.0;
    return std::sin(std::acos(-1.0) * t / duration);
}

// Watches from now until `until` seconds on `since`'s clock. `points` are
// window pixels; the first must be on the white background, so that its
// green tells the title's alpha.
template <class TakeShot, class Since>
TitleWatch watchTitle(
    TakeShot takeShot, Since since, const std::vector<std::pair<int, int>>& points, double until, double lag = 0.5)
{
    const Rgb red{255, 0, 0};
    const double tolerance = 0.08;
    TitleWatch watch;
    bool drawn = false;
    while (since() < until) {
        const TimedShot s = timedShot(takeShot, since);
        // The alpha rises to 1 at 4.25 s and falls after, so over a span it
        // is least at an end and greatest at an end or at the peak.
        const double from = std::max(0.0, s.start - lag);
        const double to = s.end + lag;
        const double least = std::min(titleAlphaAt(from), titleAlphaAt(to));
        const double most = (from <= 4.25 && to >= 4.25) ? 1.0 : std::max(titleAlphaAt(from), titleAlphaAt(to));
        const Rgb c = s.picture.at(points.front().first, points.front().second);
        const double alpha = 1.0 - c.g / 255.0;
        // Between white and red; until the first frame the window may show
        // anything.
        const bool onFade = c.r > 230 && std::abs(c.g - c.b) < 20;
        drawn = drawn || onFade;
        if (!drawn)
            continue;
        ++watch.shots;
        if (watch.fault.empty() && !onFade)
            watch.fault = describe(c) + " at " + std::to_string(s.start) + " s is not between white and red";
        if (watch.fault.empty() && (alpha < least - tolerance || alpha > most + tolerance))
            watch.fault = describe(c) + " in a screenshot taken between " + std::to_string(s.start) + " and "
                + std::to_string(s.end) + " s: the title's alpha is " + std::to_string(alpha) + ", expected "
                + std::to_string(least) + " to " + std::to_string(most);
        bool allRed = true;
        for (auto [x, y] : points)
            allRed = allRed && near(s.picture.at(x, y), red, 40);
        watch.opaque = watch.opaque || allRed;
    }
    return watch;
}

} // namespace vlo::e2e
