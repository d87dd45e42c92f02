#pragma once
#include <string>
#include <vector>

#include "Composer.h"
#include "GuiSet.h"

namespace vlo::demo {

enum class PictureFormat { Png, Jpeg, Bmp, Tga };
enum class AudioFormat { Ogg, Wav };

// One track of the demo album: its music and its two pictures.
struct TrackPlan {
    std::string title;
    std::string musicPath; // on disk, relative to the show folder
    AudioFormat audioFormat;
    std::string picturePath; // archive entry of the track picture
    PictureFormat pictureFormat;
    std::string captionPath; // archive entry of the caption (PNG)
    TrackStyle style;
};

// Everything the demo show consists of, with the archive entry of every
// picture (paths with "/" between folders, as the archive names them).
struct ShowPlan {
    std::string album;
    std::string artist;
    std::string titlePath;   // PNG
    std::string maskPath;    // JPEG
    std::string creditsPath; // TGA
    std::vector<TrackPlan> tracks;
    std::vector<GuiGraphic> gui;
};

// The built-in demo: "Emberfall II", four tracks.
ShowPlan demoShowPlan();

// The text of Vellumo.ini for the plan: the data section with the title,
// mask, credits and fade keys, then the music section, one line per track,
// closed by "[end]" as the last token of the file.
std::string configurationText(const ShowPlan& plan);

// The file extension (without the dot) that goes with a format.
const char* extensionOf(PictureFormat format);
const char* extensionOf(AudioFormat format);

} // namespace vlo::demo
