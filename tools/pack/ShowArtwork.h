#pragma once
#include <string>
#include <vector>

#include "Canvas.h"
#include "Lettering.h"

namespace vlo::pack {

// The pictures `vellumo-pack new` draws for a show, sized for their places
// on the 700 x 600 window (pixels, origin top-left).

// Track pictures are drawn at (0, 105), under the caption band; at this
// size they stay clear of the player buttons at the bottom right.
constexpr int kTrackPictureSize = 360;
constexpr int kCaptionWidth = 700;
constexpr int kCaptionHeight = 100;

// The album's lines for the title and credits pictures.
struct AlbumText {
    std::string album;
    std::string artist;
    // "(c) 2024 Someone" or "2024"; empty when the tags give neither.
    std::string rights;
};

// The background: a blurred field of the cover's colours, lightened so that
// the multiplied caption, buttons and menu stay readable, lightest in the
// caption band (the top 105 pixels); a frame behind the track picture and the
// album and artist on the right. 700 x 600.
demo::Canvas drawShowBackground(const demo::Canvas& cover, const AlbumText& text, Lettering& lettering);

// The caption: the track's title and artist in dark lettering on white, its
// number on the right. The screen multiplies it onto the background, so the
// white leaves the background as it is. 700 x 100.
demo::Canvas drawShowCaption(
    int number, int count, const std::string& title, const std::string& artist, Lettering& lettering);

// The title picture: the cover over a dark field of its colours, then album
// and artist. 700 x 600.
demo::Canvas drawShowTitle(const demo::Canvas& cover, const AlbumText& text, Lettering& lettering);

// The credits picture: album and artist, one line per track ("3  Title -
// Artist"), and the rights line. 700 x 600.
demo::Canvas drawShowCredits(
    const demo::Canvas& cover, const AlbumText& text, const std::vector<std::string>& trackLines, Lettering& lettering);

} // namespace vlo::pack
