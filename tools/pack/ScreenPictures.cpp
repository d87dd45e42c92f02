#include "ScreenPictures.h"

#include <algorithm>

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

const char* const kMenuItems[] = { "minimize", "credits", "exit" };

struct GuiGraphic {
    const char* name;
    PictureRole role;
    const char* what;
};

// In the order the screen loads them: the window menu, then the player panel.
const GuiGraphic kGuiGraphics[] = {
    { "gui/exit_off.png", PictureRole::MenuItem, "menu item 'exit'" },
    { "gui/exit_on.png", PictureRole::MenuItem, "menu item 'exit', held down" },
    { "gui/minimize_off.png", PictureRole::MenuItem, "menu item 'minimise'" },
    { "gui/minimize_on.png", PictureRole::MenuItem, "menu item 'minimise', held down" },
    { "gui/credits_off.png", PictureRole::MenuItem, "menu item 'credits'" },
    { "gui/credits_on.png", PictureRole::MenuItem, "menu item 'credits', held down" },
    { "gui/polygon.png", PictureRole::MenuPanel, "window menu background" },
    { "gui/play_on.png", PictureRole::PlayerButton, "play button while stopped or paused, held down" },
    { "gui/play_off.png", PictureRole::PlayerButton, "play button while stopped or paused" },
    { "gui/pause_on.png", PictureRole::PlayerButton, "play/pause button while music plays, held down" },
    { "gui/pause_off.png", PictureRole::PlayerButton, "play/pause button while music plays" },
    { "gui/stop_on.png", PictureRole::PlayerButton, "stop button, held down" },
    { "gui/stop_off.png", PictureRole::PlayerButton, "stop button" },
    { "gui/prev_on.png", PictureRole::PlayerButton, "previous-track button, held down" },
    { "gui/prev_off.png", PictureRole::PlayerButton, "previous-track button" },
    { "gui/next_on.png", PictureRole::PlayerButton, "next-track button, held down" },
    { "gui/next_off.png", PictureRole::PlayerButton, "next-track button" },
};

std::string sizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

void addUse(std::vector<PictureUse>& uses, const ConfigValue& value, PictureRole role, const char* what)
{
    if (value.isSet())
        uses.push_back(PictureUse { value.text, role, what, value.place });
}

std::string maskProblem(int width, int height)
{
    if (width == kWindowWidth && height == kWindowHeight)
        return std::string();
    std::string effect;
    if (width < kWindowWidth || height < kWindowHeight)
        effect = "part of the window stays empty";
    if (width > kWindowWidth || height > kWindowHeight)
        effect += std::string(effect.empty() ? "" : " and ") + "what lies beyond 700 x 600 is cut off";
    return "it is " + sizeText(width, height)
        + ", but the background must be 700 x 600: it is drawn at its own size from the top-left corner, so "
        + effect;
}

// A picture drawn at its own size from (left 0, top) that must stay inside
// the window.
std::string placedProblem(int width, int height, int top)
{
    std::string problem;
    if (width > kWindowWidth)
        problem = "it is " + std::to_string(width) + " pixels wide, wider than the 700-pixel window: it is cut off "
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
        uses.push_back(PictureUse { track.picture.text, PictureRole::TrackPicture, number + "'s picture",
            track.picture.place });
        uses.push_back(PictureUse { track.caption.text, PictureRole::Caption, number + "'s caption",
            track.caption.place });
    }
    for (const GuiGraphic& graphic : kGuiGraphics)
        uses.push_back(PictureUse { graphic.name, graphic.role, graphic.what, ConfigPlace() });
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
            return "it is " + sizeText(width, height) + ", larger than a player button's slot of 127 x 95: the "
                                                        "buttons overlap or run out of the window";
        return std::string();
    default:
        // Title and credits are stretched over the window; the menu's parts
        // are judged together by menuProblem.
        return std::string();
    }
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
        widest = std::max({ widest, off->second.width, on->second.width });
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
