#include "frontend/ShowScreen.h"

#include "common/ColorRGB.h"
#include "content/ShowConfig.h"
#include "frontend/DragHandlers.h"
#include "frontend/MenuCommands.h"
#include "frontend/PageStep.h"
#include "frontend/PanelSlide.h"
#include "frontend/PictureClick.h"
#include "frontend/PictureFade.h"
#include "frontend/PlayerCommands.h"
#include "frontend/PlayerHandlers.h"
#include "music/MusicPlayer.h"
#include "platform/Platform.h"
#include "render/Renderer.h"
#include "shell/MainWindow.h"
#include "widgets/DesktopWidget.h"
#include "widgets/FrameWidget.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"

namespace vlo {

namespace {

// All positions and sizes in GUI units (origin top-left, y down).
const Vector2 picturePosition(0.0f, 1.05f);
const Vector2 panelSize(5.8f, 1.35f);
constexpr float panelMargin = 0.2f;
constexpr float panelSpacing = 0.1f;
constexpr float menuMargin = 0.05f;
// The menu is this much larger than its background picture.
const Vector2 menuGrowth(0.1f, 0.3f);
// Where each player button sits relative to its laid-out place: a little to
// the left, and 1.5 below so that all four start out of view.
const Vector2 playerButtonOffsets[ShowScreen::playerButtonCount]
    = {{-0.05f, 1.5f}, {-0.15f, 1.5f}, {-0.1f, 1.5f}, {-0.1f, 1.5f}};
// How the show lasts: the title overlay and a credits run, in seconds.
constexpr float titleSeconds = 8.5f;
constexpr float creditsSeconds = 10.0f;

bool inside(const Rect& area, Vector2 point)
{
    return point.x >= area.x1() && point.x < area.x2() && point.y >= area.y1() && point.y < area.y2();
}

// The platform's question, asked of the screen behind owner.
bool dragAreaOf(void* owner, int x, int y)
{
    return static_cast<ShowScreen*>(owner)->isDragArea(x, y);
}

} // namespace

ShowScreen::ShowScreen(MainWindow* mainWindow)
{
    if (!mainWindow)
        return;
    window = mainWindow;
    renderer = window->getRenderer();
    config = window->getConfig();
    player = window->getPlayer();
    // Every picture, handler and timeline needs all three; a window without
    // them gets no screen rather than one that fails on its first frame.
    if (!renderer || !config || !player)
        return;

    buildTree();
    buildWindowControls();
    buildPlayerPanel();

    dragging = false;
    musicPlaying = true;
    panelAway = true;
    dragAnchorX = 0;
    dragAnchorY = 0;
    pictureAlphaTarget = 0.0f;
    pictureFadeSpeed = 1.0f;
    trackSwapPending = false;
    overlayTexture = 0;
    fadeState.fadeStart = picture->backgroundColor.a;

    loadContent();
    window->setRootWidget(desktop);
    commands = std::make_unique<PlayerCommands>(*this);
    window->setPlayerCommands(commands.get());
    // Where the window system moves windows itself, a press on the
    // background hands the move to it.
    setDragAreaTest(window->getHandle(), dragAreaOf, this);
}

ShowScreen::~ShowScreen()
{
    if (commands != nullptr) {
        setDragAreaTest(window->getHandle(), nullptr, nullptr);
        window->setPlayerCommands(nullptr);
    }
    delete desktop;
    desktop = nullptr;
    pictureTextures.clear();
    captionTextures.clear();
}

PushButtonWidget* ShowScreen::playerButton(int index) const
{
    switch (index) {
    case 0:
        return playButton;
    case 1:
        return stopButton;
    case 2:
        return prevButton;
    case 3:
        return nextButton;
    default:
        return nullptr;
    }
}

void ShowScreen::givePlayImages(PushButtonWidget* button, bool pauseImages)
{
    if (!button)
        return;
    button->setImage(*renderer, uint32_t(pauseImages ? pauseOffTexture : playOffTexture));
    button->setPressedImage(*renderer, uint32_t(pauseImages ? pauseOnTexture : playOnTexture));
}

bool ShowScreen::isDragArea(int x, int y)
{
    if (desktop == nullptr || renderer == nullptr)
        return false;
    const Vector2 point = renderer->unproject(x, y);
    if (!inside(desktop->rect(), point) || inside(picture->rect(), point))
        return false;
    if (menu != nullptr && menu->isOpen() && inside(menu->rect(), point))
        return false;
    for (int i = 0; i < playerButtonCount; ++i) {
        if (inside(playerButton(i)->rect(), point))
            return false;
    }
    return true;
}

// Between two pictures the window answers a request to quit; once one has
// come, the remaining pictures are not loaded, so a show of many large
// pictures cannot hold the program for the whole of its start-up.
int32_t ShowScreen::loadTexture(const char* path)
{
    if (window->answerDuringStart())
        return 0;
    return renderer->loadTexture(path, FilterLinear, false);
}

// The desktop with the background, picture and caption panels, the player
// frame and the three per-frame triggers.
void ShowScreen::buildTree()
{
    desktop = new DesktopWidget(nullptr, "");
    desktop->setMargin(0.0f);
    desktop->setAlignment(TopLeft);
    desktop->fitToView(*renderer);
    desktop->setFillColor(Color(0.0f, 0.0f, 0.0f, 0.0f));

    // The background covers the whole view, so every press in the window
    // reaches it and can start a drag. It is drawn opaque.
    background = new StaticWidget(desktop, "");
    background->setBackgroundAlpha(1.0f);
    background->setColor(ColorRGB::white);
    background->setMinimumSize(desktop->size());
    background->setFlowExcluded();
    background->setBlendFactors(BlendOne, BlendZero);
    background->setHandler(new DragMove(this));
    background->setHandler(new DragEnd(this));
    background->setHandler(new DragStart(this));

    // The track picture stays invisible until it fades in.
    picture = new StaticWidget(desktop, "");
    picture->setBackgroundAlpha(0.0f);
    picture->setColor(ColorRGB::white);
    picture->setFlowExcluded();
    picture->setPosition(picturePosition);
    picture->setBlendFactors(BlendSrcAlpha, BlendOneMinusSrcAlpha);
    picture->setHandler(new PictureClick(this));

    // The caption multiplies the background; it sits where the desktop's
    // top-left layout puts it (the corner) and appears during the title.
    caption = new StaticWidget(desktop, "");
    caption->setTextColor(ColorRGB::white);
    caption->setColor(ColorRGB::white);
    caption->setBackgroundAlpha(1.0f);
    caption->setBlendFactors(BlendDstColor, BlendOneMinusSrcAlpha);
    caption->setFlowExcluded();
    caption->setPosition(caption->relativePosition());
    caption->hide();

    // From here on the desktop puts its flowing children in the
    // bottom-right corner: the player frame reaches (7, 6).
    desktop->setAlignment(BottomRight);

    // An invisible frame around the player buttons.
    playerPanel = new FrameWidget(desktop, "");
    playerPanel->setMargin(panelMargin);
    playerPanel->setLineWidth(0.0f);
    playerPanel->setAlpha(0.0f);
    playerPanel->setSize(panelSize);
    playerPanel->setSpacing(panelSpacing);

    // Per-frame logic, in this order: page logic, picture fade, button slide.
    pageTrigger = new TriggerEvent(background, "");
    pageTrigger->setHandler(new PageStep(this));
    fadeTrigger = new TriggerEvent(background, "");
    fadeTrigger->setHandler(new PictureFade(this));
    slideTrigger = new TriggerEvent(background, "");
    slideTrigger->setHandler(new PanelSlide(this));
}

// The window menu (minimise, credits, exit) on its polygon picture, adopted
// by the track picture.
void ShowScreen::buildWindowControls()
{
    const int32_t exitOff = loadTexture("gui/exit_off.png");
    const int32_t exitOn = loadTexture("gui/exit_on.png");
    const int32_t minimizeOff = loadTexture("gui/minimize_off.png");
    const int32_t minimizeOn = loadTexture("gui/minimize_on.png");
    const int32_t creditsOff = loadTexture("gui/credits_off.png");
    const int32_t creditsOn = loadTexture("gui/credits_on.png");
    const int32_t polygon = loadTexture("gui/polygon.png");

    menu = new PopupMenuWidget(nullptr, "");
    menu->addItem("", new MinimiseCommand(this));
    menu->addItem("", new CreditsCommand(this));
    menu->addItem("", new ExitCommand(this));

    menu->setColor(ColorRGB::white);
    menu->setBackgroundImage(*renderer, uint32_t(polygon));
    menu->setBlendFactors(BlendDstColor, BlendOneMinusSrcAlpha);
    menu->setBackgroundAlpha(1.0f);
    menu->borderWidth = 0.0f;
    menu->setMargin(menuMargin);

    for (uint32_t i = 0; i < 3; ++i) {
        PushButtonWidget* item = menu->item(i);
        item->setColor(ColorRGB::white);
        item->setPressedColor(ColorRGB::white);
        item->setHoverColor(ColorRGB::white);
        item->setBlendFactors(BlendDstColor, BlendOneMinusSrcAlpha);
    }
    const int32_t images[3][2] = {{minimizeOff, minimizeOn}, {creditsOff, creditsOn}, {exitOff, exitOn}};
    for (uint32_t i = 0; i < 3; ++i) {
        menu->item(i)->setImage(*renderer, uint32_t(images[i][0]));
        menu->item(i)->setPressedImage(*renderer, uint32_t(images[i][1]));
    }

    menu->setSize(menu->size() + menuGrowth);
    picture->setPopup(menu);
}

// The four player buttons, waiting 1.5 units below their place.
void ShowScreen::buildPlayerPanel()
{
    const int32_t playOn = loadTexture("gui/play_on.png");
    const int32_t playOff = loadTexture("gui/play_off.png");
    const int32_t pauseOn = loadTexture("gui/pause_on.png");
    const int32_t pauseOff = loadTexture("gui/pause_off.png");
    const int32_t stopOn = loadTexture("gui/stop_on.png");
    const int32_t stopOff = loadTexture("gui/stop_off.png");
    const int32_t prevOn = loadTexture("gui/prev_on.png");
    const int32_t prevOff = loadTexture("gui/prev_off.png");
    const int32_t nextOn = loadTexture("gui/next_on.png");
    const int32_t nextOff = loadTexture("gui/next_off.png");

    playButton = new PushButtonWidget(playerPanel, "");
    stopButton = new PushButtonWidget(playerPanel, "");
    prevButton = new PushButtonWidget(playerPanel, "");
    nextButton = new PushButtonWidget(playerPanel, "");

    playOnTexture = playOn;
    playOffTexture = playOff;
    pauseOnTexture = pauseOn;
    pauseOffTexture = pauseOff;

    // The play button shows pause: the music is about to start.
    const int32_t images[playerButtonCount][2]
        = {{pauseOff, pauseOn}, {stopOff, stopOn}, {prevOff, prevOn}, {nextOff, nextOn}};
    for (int i = 0; i < playerButtonCount; ++i) {
        PushButtonWidget* button = playerButton(i);
        button->setColor(ColorRGB::white);
        button->setPressedColor(ColorRGB::white);
        button->setHoverColor(ColorRGB::white);
        button->setImage(*renderer, uint32_t(images[i][0]));
        button->setPressedImage(*renderer, uint32_t(images[i][1]));
        button->setBlendFactors(BlendDstColor, BlendOneMinusSrcAlpha);
        attachPlayerHandlers(i);
    }

    for (int i = 0; i < playerButtonCount; ++i) {
        PushButtonWidget* button = playerButton(i);
        button->setPosition(button->position() + playerButtonOffsets[i]);
    }
    // Nothing moves yet: the target is where the buttons wait.
    panelTargetY = playButton->position().y;
}

void ShowScreen::attachPlayerHandlers(int index)
{
    switch (index) {
    case 0:
        playButton->setHandler(new PlayPause(this));
        playButton->setHandler(new PlayPauseToggle(this));
        break;
    case 1:
        stopButton->setHandler(new StopTrack(this));
        break;
    case 2:
        prevButton->setHandler(new PreviousTrack(this));
        break;
    case 3:
        nextButton->setHandler(new NextTrack(this));
        break;
    default:
        break;
    }
}

// Loads the show's pictures, starts the first track and the title overlay.
// False when the play list is empty: then no picture is set, no music plays
// and no title runs.
bool ShowScreen::loadContent()
{
    overlayTexture = loadTexture(config->titlePath().c_str());
    const int32_t maskTexture = loadTexture(config->maskPath().c_str());
    config->titleTexture = overlayTexture;

    if (!config->selectTrack(0))
        return false;

    pictureTextures.push_back(loadTexture(config->currentTrackPicture().c_str()));
    captionTextures.push_back(loadTexture(config->currentTrackCaption().c_str()));

    config->setTitleDuration(titleSeconds);
    config->setCreditsDuration(creditsSeconds);

    config->selectTrack(0);
    config->playCurrentTrack(*player);

    background->setBackgroundImage(*renderer, uint32_t(maskTexture));
    picture->setBackgroundImage(*renderer, uint32_t(pictureTextures[0]));
    caption->setBackgroundImage(*renderer, uint32_t(captionTextures[0]));

    desktop->setOverlays(config);
    config->startTitleOverlay();
    return true;
}

} // namespace vlo
