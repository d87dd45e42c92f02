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

// A track change watched from now until the picture's change is seen or
// `until` seconds on `since`'s clock: the caption swap and the picture's
// cross-fade, each seen once its test holds for a screenshot.
struct TrackChange {
    SeenChange caption;
    SeenChange picture;
};

template <class TakeShot, class Since, class CaptionShows, class PictureShows>
TrackChange watchTrackChange(
    TakeShot takeShot, Since since, CaptionShows captionShows, PictureShows pictureShows, double until)
{
    TrackChange change;
    while (since() < until && change.picture.seen < 0) {
        const TimedShot s = timedShot(takeShot, since);
        change.caption.note(captionShows(s.picture), s);
        change.picture.note(pictureShows(s.picture), s);
    }
    return change;
}

// The title overlay of the standard show: its red picture over the whole
// window at alpha |sin(pi t / 8.5)| for t in [0, 8.5] s, then gone. Its clock
// starts before the window shows, by as long as the first frames take (under
// Wine on a busy machine, seconds), so the screenshots are judged against
// the fade started `offset` seconds before the window showed, for the offset
// from 0 to 3 s that fits them best.
struct TitleWatch {
    std::string fault;   // the first screenshot the best fit cannot explain
    double offset = 0.0; // the best fit
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

// Why the title's alpha `alpha`, seen in a screenshot taken in [start, end]
// seconds after the window showed, cannot be that of the fade started
// `offset` seconds before; empty when it can. The picture shows a frame
// drawn before the screenshot ended and at most `lag` before it started.
inline std::string titleMisfit(double alpha, double start, double end, double offset, double lag = 0.5)
{
    const double tolerance = 0.08;
    // The alpha rises to 1 at 4.25 s and falls after, so over a span it is
    // least at an end and greatest at an end or at the peak.
    const double from = start + offset - lag;
    const double to = end + offset;
    const double least = std::min(titleAlphaAt(from), titleAlphaAt(to));
    const double most = (from <= 4.25 && to >= 4.25) ? 1.0 : std::max(titleAlphaAt(from), titleAlphaAt(to));
    if (alpha >= least - tolerance && alpha <= most + tolerance)
        return "";
    return "alpha " + std::to_string(alpha) + " in a screenshot taken " + std::to_string(start) + " to "
        + std::to_string(end) + " s after the window showed; the fade gives " + std::to_string(least) + " to "
        + std::to_string(most);
}

// Watches from now until `until` seconds on `since`'s clock (the time since
// the window showed). `points` are window pixels; the first must be on the
// white background, so that its green tells the title's alpha.
template <class TakeShot, class Since>
TitleWatch watchTitle(TakeShot takeShot, Since since, const std::vector<std::pair<int, int>>& points, double until)
{
    const Rgb red{255, 0, 0};
    TitleWatch watch;
    struct Seen {
        double alpha, start, end;
    };
    std::vector<Seen> seen;
    while (since() < until) {
        const TimedShot s = timedShot(takeShot, since);
        const Rgb c = s.picture.at(points.front().first, points.front().second);
        // Between white and red; until the first frame the window may show
        // anything.
        const bool onFade = c.r > 230 && std::abs(c.g - c.b) < 20;
        if (seen.empty() && !onFade)
            continue;
        if (watch.fault.empty() && !onFade)
            watch.fault = describe(c) + " at " + std::to_string(s.start) + " s is not between white and red";
        seen.push_back({1.0 - c.g / 255.0, s.start, s.end});
        bool allRed = true;
        for (auto [x, y] : points)
            allRed = allRed && near(s.picture.at(x, y), red, 40);
        watch.opaque = watch.opaque || allRed;
    }
    watch.shots = int(seen.size());
    if (!watch.fault.empty())
        return watch;
    size_t fewest = seen.size() + 1;
    for (int step = 0; step <= 60; ++step) {
        const double offset = 0.05 * step;
        size_t misfits = 0;
        std::string first;
        for (const Seen& s : seen) {
            const std::string misfit = titleMisfit(s.alpha, s.start, s.end, offset);
            misfits += misfit.empty() ? 0 : 1;
            if (first.empty())
                first = misfit;
        }
        if (misfits < fewest) {
            fewest = misfits;
            watch.offset = offset;
            watch.fault = first;
        }
    }
    return watch;
}

} // namespace vlo::e2e
