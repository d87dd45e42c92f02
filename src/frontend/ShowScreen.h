#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "frontend/AnimationState.h"

namespace vlo {

class MainWindow;
class Renderer;
class ShowConfig;
class MusicPlayer;
class DesktopWidget;
class StaticWidget;
class TriggerEvent;
class PopupMenuWidget;
class FrameWidget;
class PushButtonWidget;
class PlayerCommands;

// Builds and owns the show's one screen on the 7 x 6 GUI-unit view: the
// background picture (by which the window is dragged), the current track's
// picture and caption, the player panel with four buttons in the bottom-right
// corner, and the window menu on the picture. It wires them to the player,
// the play list and the window; everything after construction is driven by
// the widgets' handlers and by three per-frame Draw handlers.
//
// Fields are public: the handlers work on them, and tests read them.
class ShowScreen {
public:
    // Builds the whole screen, starts the first track and the title overlay,
    // and installs the tree as the window's root widget. With no window, or a
    // window that lacks its renderer, configuration or player, builds nothing.
    explicit ShowScreen(MainWindow* window);
    // Destroys the widget tree; textures stay with the renderer.
    ~ShowScreen();
    ShowScreen(const ShowScreen&) = delete;
    ShowScreen& operator=(const ShowScreen&) = delete;

    static constexpr int playerButtonCount = 4;
    // The player buttons in layout order: play/pause, stop, previous, next.
    PushButtonWidget* playerButton(int index) const;
    // Gives a button the pause images (true) or the play images (false).
    void givePlayImages(PushButtonWidget* button, bool pauseImages);
    // Whether a press at (x, y), in window pixels, grabs the window to move
    // it: anywhere on the background, but not on the track picture, the
    // open menu or a player button.
    bool isDragArea(int x, int y);

    MainWindow* window = nullptr;
    Renderer* renderer = nullptr;
    // Window-pixel position of the pointer where a background drag began.
    int32_t dragAnchorX = 0;
    int32_t dragAnchorY = 0;
    bool dragging = false;
    // What play/pause shows: true shows the pause images.
    bool musicPlaying = false;
    // Background alpha (0..1) the track picture moves towards, and the
    // speed factor of that change.
    float pictureAlphaTarget = 0.0f;
    float pictureFadeSpeed = 1.0f;
    // GUI units: the y the four player buttons slide towards.
    float panelTargetY = 0.0f;
    // The buttons are out of view (intro, credits); the menu cannot open.
    bool panelAway = false;
    // A track-change picture swap is under way; the menu then leaves the
    // picture's alpha target alone.
    bool trackSwapPending = false;
    int32_t playOnTexture = 0;
    int32_t playOffTexture = 0;
    int32_t pauseOnTexture = 0;
    int32_t pauseOffTexture = 0;
    // The title picture's texture, later the credits picture's.
    int32_t overlayTexture = 0;
    ShowConfig* config = nullptr;
    MusicPlayer* player = nullptr;
    DesktopWidget* desktop = nullptr;
    StaticWidget* background = nullptr;
    StaticWidget* picture = nullptr;
    StaticWidget* caption = nullptr;
    TriggerEvent* pageTrigger = nullptr;
    TriggerEvent* fadeTrigger = nullptr;
    TriggerEvent* slideTrigger = nullptr;
    PopupMenuWidget* menu = nullptr;
    FrameWidget* playerPanel = nullptr;
    PushButtonWidget* playButton = nullptr;
    PushButtonWidget* stopButton = nullptr;
    PushButtonWidget* prevButton = nullptr;
    PushButtonWidget* nextButton = nullptr;
    // Textures shown by picture and caption; element 0 is the one shown.
    std::vector<int32_t> pictureTextures;
    std::vector<int32_t> captionTextures;

    // The player keys and media controls, carried out by the buttons' handlers.
    std::unique_ptr<PlayerCommands> commands;

    // Kept across frames by PageStep, PictureFade and PanelSlide.
    PageStepState pageState;
    PictureFadeState fadeState;
    ButtonSlideState slideStates[playerButtonCount];

private:
    void buildTree();
    void buildWindowControls();
    void buildPlayerPanel();
    void attachPlayerHandlers(int index);
    bool loadContent();
    int32_t loadTexture(const char* path);
};

} // namespace vlo
