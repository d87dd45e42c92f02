#pragma once

namespace vlo {

// What one step of the show sequencing reports.
enum ShowEvent { Nothing = 0, TrackChanged = 1, TitleFinished = 2, CreditsRunning = 3, CreditsFinished = 4 };

} // namespace vlo
