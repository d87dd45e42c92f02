#include "ScreenPictures.h"

#include <algorithm>
#include <map>

namespace vlo::pack {

namespace {

// The window, and where the screen puts things on it, in pixels (origin
// top-left): the track picture's top edge, a player button's slot (the
// panel's 540 x 95 inside its margin, shared by four buttons 10 px apart).
constexpr int kWindowWidth = 700;
constexpr int kWindowHeight = 600;
constexpr int kTrackPictureTop = 105;
constexpr int kButtonSlotWidth = 127;
constexpr int kButtonSlotHeight = 95;
// The menu: its picture's size plus 10 x 30, items 5 px in from its edge,
// 10 px apart.
constexpr int kMenuGrowthX = 10;
constexpr int kMenuGrowthY = 30;
constexpr int kMenuMargin = 5;
constexpr int kMenuSpacing = 10;

const char* const kMenuItems[] = {"minimize", "credits", "exit"};

struct GuiGraphic {
    const char* name;
    PictureRole role;
    const char* what;
};

// In the order the screen loads them: the window menu, then the player panel.
const GuiGraphic kGuiGraphics[] = {
    {"gui/exit_off.png", PictureRole::MenuItem, "menu item 'exit'"},
    {"gui/exit_on.png", PictureRole::MenuItem, "menu item 'exit', held down"},
    {"gui/minimize_off.png", PictureRole::MenuItem, "menu item 'minimise'"},
    {"gui/minimize_on.png", PictureRole::MenuItem, "menu item 'minimise', held down"},
    {"gui/credits_off.png", PictureRole::MenuItem, "menu item 'credits'"},
    {"gui/credits_on.png", PictureRole::MenuItem, "menu item 'credits', held down"},
    {"gui/polygon.png", PictureRole::MenuPanel, "window menu background"},
    {"gui/play_on.png", PictureRole::PlayerButton, "play button while stopped or paused, held down"},
    {"gui/play_off.png", PictureRole::PlayerButton, "play button while stopped or paused"},
    {"gui/pause_on.png", PictureRole::PlayerButton, "play/pause button while music plays, held down"},
    {"gui/pause_off.png", PictureRole::PlayerButton, "play/pause button while music plays"},
    {"gui/stop_on.png", PictureRole::PlayerButton, "stop button, held down"},
    {"gui/stop_off.png", PictureRole::PlayerButton, "stop button"},
    {"gui/prev_on.png", PictureRole::PlayerButton, "previous-track button, held down"},
    {"gui/prev_off.png", PictureRole::PlayerButton, "previous-track button"},
    {"gui/next_on.png", PictureRole::PlayerButton, "next-track button, held down"},
    {"gui/next_off.png", PictureRole::PlayerButton, "next-track button"},
};

std::string sizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

void addUse(std::vector<PictureUse>& uses, const ConfigValue& value, PictureRole role, const char* what)
{
    if (value.isSet())
        uses.push_back(PictureUse{value.text, role, what, value.place});
}

// The background starts as large as the window and grows to the picture's
// size, and is placed against the window's bottom-right corner: a smaller
// picture is stretched over the window, a larger one shows its bottom-right
// part.
std::string maskProblem(int width, int height)
{
    if (width == kWindowWidth && height == kWindowHeight)
        return std::string();
    std::vector<std::string> effects;
    if (width < kWindowWidth && height < kWindowHeight)
        effects.push_back("the screen stretches it over the whole window");
    else if (width < kWindowWidth)
        effects.push_back("the screen stretches it to the window's 700-pixel width");
    else if (height < kWindowHeight)
        effects.push_back("the screen stretches it to the window's 600-pixel height");
    if (width > kWindowWidth)
        effects.push_back("it is drawn at its own width against the window's right edge, so its leftmost "
            + std::to_string(width - kWindowWidth) + " pixels are cut off");
    if (height > kWindowHeight)
        effects.push_back("it is drawn at its own height against the window's bottom edge, so its top "
            + std::to_string(height - kWindowHeight) + " pixels are cut off");
    std::string text = "it is " + sizeText(width, height) + ", but the background should be 700 x 600: ";
    for (size_t i = 0; i < effects.size(); ++i)
        text += (i == 0 ? "" : "; ") + effects[i];
    return text;
}

// The title and credits pictures are drawn over the whole window.
std::string overlayProblem(int width, int height)
{
    if (width >= kWindowWidth && height >= kWindowHeight)
        return std::string();
    return "it is " + sizeText(width, height)
        + ", smaller than the 700 x 600 window: the screen stretches it over the whole window, so it shows "
          "enlarged; make it 700 x 600";
}

// A picture drawn at its own size from (left 0, top) that must stay inside
// the window.
std::string placedProblem(int width, int height, int top)
{
    std::string problem;
    if (width > kWindowWidth)
        problem = "it is " + std::to_string(width)
            + " pixels wide, wider than the 700-pixel window: it is cut off "
              "at the right";
    if (top + height > kWindowHeight) {
        problem += std::string(problem.empty() ? "it" : "; it") + " is " + std::to_string(height)
            + " pixels tall and drawn from y = " + std::to_string(top) + ", so it runs "
            + std::to_string(top + height - kWindowHeight) + " pixels past the window's bottom edge";
    }
    return problem;
}

} // namespace

std::vector<PictureUse> screenPictures(const ConfigLintResult& config)
{
    std::vector<PictureUse> uses;
    addUse(uses, config.title, PictureRole::Title, "title picture");
    addUse(uses, config.mask, PictureRole::Mask, "background picture");
    addUse(uses, config.credits, PictureRole::Credits, "credits picture");
    for (size_t i = 0; i < config.tracks.size(); ++i) {
        const ConfigTrack& track = config.tracks[i];
        const std::string number = "track " + std::to_string(i + 1);
        uses.push_back(
            PictureUse{track.picture.text, PictureRole::TrackPicture, number + "'s picture", track.picture.place});
        uses.push_back(
            PictureUse{track.caption.text, PictureRole::Caption, number + "'s caption", track.caption.place});
    }
    for (const GuiGraphic& graphic : kGuiGraphics)
        uses.push_back(PictureUse{graphic.name, graphic.role, graphic.what, ConfigPlace()});
    return uses;
}

std::string sizeProblem(PictureRole role, int width, int height)
{
    switch (role) {
    case PictureRole::Mask:
        return maskProblem(width, height);
    case PictureRole::TrackPicture:
        return placedProblem(width, height, kTrackPictureTop);
    case PictureRole::Caption:
        return placedProblem(width, height, 0);
    case PictureRole::PlayerButton:
        if (width > kButtonSlotWidth || height > kButtonSlotHeight)
            return "it is " + sizeText(width, height)
                + ", larger than a player button's slot of 127 x 95: the "
                  "buttons overlap or run out of the window";
        return std::string();
    case PictureRole::Title:
    case PictureRole::Credits:
        return overlayProblem(width, height);
    default:
        // The menu's parts are judged together by menuProblem, pictures that
        // share a place by stretchProblems.
        return std::string();
    }
}

namespace {

// Pictures that share one place on the screen, which is as large as the
// largest of them (and at least `floor` pixels each way).
struct SharedPlace {
    int width = 0;
    int height = 0;
};

// Which place a picture shares with others, and the place's minimum side;
// empty for pictures that have a place of their own.
std::string sharedPlaceOf(const PictureUse& use, int& floor)
{
    // The widgets' margin of 0.2 units gives every picture place but the
    // menu items' an initial 40 x 40 pixels.
    floor = 40;
    switch (use.role) {
    case PictureRole::TrackPicture:
        return "track pictures";
    case PictureRole::Caption:
        return "captions";
    case PictureRole::PlayerButton: {
        // "gui/pause_on.png" shares the play button with the play pictures.
        const std::string stem = use.name.substr(4, use.name.rfind('_') - 4);
        return "button " + (stem == "pause" ? std::string("play") : stem);
    }
    case PictureRole::MenuItem:
        floor = 0;
        return "item " + use.name.substr(4, use.name.rfind('_') - 4);
    default:
        return std::string();
    }
}

std::string stretchText(const ShownPicture& shown, const SharedPlace& place)
{
    const std::string size = "it is " + sizeText(shown.width, shown.height) + ", but ";
    const std::string extent = sizeText(place.width, place.height);
    switch (shown.use.role) {
    case PictureRole::TrackPicture:
    case PictureRole::Caption: {
        const std::string kind = shown.use.role == PictureRole::Caption ? "caption" : "track picture";
        return size + "the " + kind + "s' place grows to the largest " + kind
            + " shown so far and never shrinks (here up to " + extent
            + ", at least 40 x 40): once a larger one has been shown, this one is stretched to fill it; give "
              "all "
            + kind + "s one size";
    }
    case PictureRole::PlayerButton:
        return size + "its button is as large as the largest of its pictures (" + extent
            + ", at least 40 x 40): the screen stretches it to that size; give the button's pictures one size";
    default:
        return size + "its menu item is as large as the larger of its two pictures (" + extent
            + "): the screen stretches it to that size; give both pictures one size";
    }
}

} // namespace

std::vector<std::string> stretchProblems(const std::vector<ShownPicture>& shown)
{
    std::map<std::string, SharedPlace> places;
    for (const ShownPicture& picture : shown) {
        int floor = 0;
        const std::string key = sharedPlaceOf(picture.use, floor);
        if (key.empty())
            continue;
        SharedPlace& place = places[key];
        place.width = std::max({place.width, picture.width, floor});
        place.height = std::max({place.height, picture.height, floor});
    }
    std::vector<std::string> problems(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        int floor = 0;
        const std::string key = sharedPlaceOf(shown[i].use, floor);
        if (key.empty())
            continue;
        const SharedPlace& place = places[key];
        if (shown[i].width < place.width || shown[i].height < place.height)
            problems[i] = stretchText(shown[i], place);
    }
    return problems;
}

std::string menuProblem(const std::map<std::string, PictureSize>& sizes)
{
    const auto polygon = sizes.find("gui/polygon.png");
    if (polygon == sizes.end())
        return std::string();
    int widest = 0;
    int stacked = kMenuSpacing * 2;
    for (const char* item : kMenuItems) {
        const std::string base = std::string("gui/") + item;
        const auto off = sizes.find(base + "_off.png");
        const auto on = sizes.find(base + "_on.png");
        if (off == sizes.end() || on == sizes.end())
            return std::string();
        widest = std::max({widest, off->second.width, on->second.width});
        stacked += std::max(off->second.height, on->second.height);
    }
    const int roomWidth = polygon->second.width + kMenuGrowthX - 2 * kMenuMargin;
    const int roomHeight = polygon->second.height + kMenuGrowthY - 2 * kMenuMargin;
    if (widest <= roomWidth && stacked <= roomHeight)
        return std::string();
    return "the three menu items need " + sizeText(widest, stacked)
        + " pixels (the widest item; all three stacked 10 px apart), but the menu made from it holds "
        + sizeText(roomWidth, roomHeight)
        + " (the picture's size plus 10 x 30, less a 5-pixel margin all round): the items stick out of the menu";
}

} // namespace vlo::pack
