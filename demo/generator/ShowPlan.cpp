#include "ShowPlan.h"

namespace vlo::demo {

namespace {

TrackStyle kindlingStyle()
{
    TrackStyle s;
    s.seed = 11;
    s.tempo = 80.0;
    s.tonic = 62; // D major
    s.scale = majorScale();
    s.progression = {0, 5, 3, 4}; // I vi IV V
    s.bars = 8;
    s.sevenths = true;
    s.arpFrom = 1, s.arpTo = 8;
    s.melodyFrom = 3, s.melodyTo = 7;
    s.bassFrom = 2, s.bassTo = 8;
    s.shakerFrom = 4, s.shakerTo = 7;
    return s;
}

TrackStyle ashenRoadStyle()
{
    TrackStyle s;
    s.seed = 22;
    s.tempo = 90.0;
    s.tonic = 57; // A minor
    s.scale = minorScale();
    s.progression = {0, 5, 2, 6}; // i VI III VII
    s.bars = 12;
    s.arpFrom = 1, s.arpTo = 12;
    s.arpSixteenths = true;
    s.melodyFrom = 4, s.melodyTo = 10;
    s.bassFrom = 2, s.bassTo = 12;
    s.drumsFrom = 4, s.drumsTo = 11;
    s.shakerFrom = 3, s.shakerTo = 11;
    return s;
}

TrackStyle emberTideStyle()
{
    TrackStyle s;
    s.seed = 33;
    s.tempo = 70.0;
    s.tonic = 63; // E-flat major
    s.scale = majorScale();
    s.progression = {0, 2, 5, 3}; // I iii vi IV
    s.bars = 10;
    s.sevenths = true;
    s.arpFrom = 1, s.arpTo = 10;
    s.melodyFrom = 2, s.melodyTo = 9;
    s.bassFrom = 2, s.bassTo = 10;
    return s;
}

TrackStyle lastLightStyle()
{
    TrackStyle s;
    s.seed = 44;
    s.tempo = 96.0;
    s.tonic = 65; // F Dorian
    s.scale = dorianScale();
    s.progression = {0, 3, 0, 6}; // i IV i VII
    s.bars = 16;
    s.sevenths = true;
    s.arpFrom = 0, s.arpTo = 16;
    s.arpSixteenths = true;
    s.melodyFrom = 4, s.melodyTo = 14;
    s.bassFrom = 2, s.bassTo = 16;
    s.drumsFrom = 4, s.drumsTo = 15;
    s.shakerFrom = 2, s.shakerTo = 15;
    return s;
}

TrackPlan track(const std::string& slug, const std::string& title, AudioFormat audio, PictureFormat picture,
    const TrackStyle& style)
{
    TrackPlan t;
    t.title = title;
    t.musicPath = "music/" + slug + "." + extensionOf(audio);
    t.audioFormat = audio;
    t.picturePath = "tracks/" + slug + "." + extensionOf(picture);
    t.pictureFormat = picture;
    t.captionPath = "captions/" + slug + ".png";
    t.style = style;
    return t;
}

} // namespace

const char* extensionOf(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Jpeg:
        return "jpg";
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Tga:
        return "tga";
    }
    return "";
}

const char* extensionOf(AudioFormat format)
{
    return format == AudioFormat::Ogg ? "ogg" : "wav";
}

ShowPlan demoShowPlan()
{
    ShowPlan plan;
    plan.album = "Emberfall II";
    plan.artist = "Vellumo demo";
    plan.titlePath = "show/title.png";
    plan.maskPath = "show/backdrop.jpg";
    plan.creditsPath = "show/credits.tga";
    // Every picture format appears: the title PNG, the backdrop JPEG, the
    // credits Targa and one track picture in each format.
    plan.tracks = {
        track("01-kindling", "Kindling", AudioFormat::Ogg, PictureFormat::Jpeg, kindlingStyle()),
        track("02-ashen-road", "Ashen Road", AudioFormat::Wav, PictureFormat::Bmp, ashenRoadStyle()),
        track("03-ember-tide", "Ember Tide", AudioFormat::Ogg, PictureFormat::Png, emberTideStyle()),
        track("04-last-light", "Last Light", AudioFormat::Ogg, PictureFormat::Tga, lastLightStyle()),
    };
    // In the order the screen loads them.
    plan.gui = defaultGuiGraphics();
    return plan;
}

std::string configurationText(const ShowPlan& plan)
{
    std::string text;
    text += "[vloData]\n";
    text += "title: " + plan.titlePath + "\n";
    text += "mask: " + plan.maskPath + "\n";
    text += "credits: " + plan.creditsPath + "\n";
    text += "fade: 1.0\n";
    text += "[end]\n";
    text += "[vloMusic]\n";
    for (const TrackPlan& t : plan.tracks) {
        text += t.musicPath + " " + t.picturePath + " " + t.captionPath + "\n";
    }
    text += "[end]\n";
    return text;
}

} // namespace vlo::demo
