#pragma once
#include <string>

#include "platform/Win32.h"

namespace vlo {

class Renderer;
class ShowConfig;
class MusicPlayer;
class Widget;
class PlayerCommands;
class MediaRemote;

// The program's one top-level window: a borderless popup with a 10 ms timer,
// whose window procedure turns mouse and keyboard messages into calls on the
// widget tree. Owns the renderer, configuration and player once handed over.
class MainWindow {
public:
    MainWindow(HINSTANCE instance, DWORD style, int width, int height);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create(DWORD style, int width, int height);
    void showWindow();
    void minimize();
    // Restores a minimised window and brings it to the front.
    void raise();
    void setTitle(const char* text);
    HWND getHandle() const { return handle; }

    // Takes the renderer when it is usable; run() releases its context and
    // deletes it.
    bool setRenderer(Renderer* renderer);
    void setConfig(ShowConfig* config);
    void setPlayer(MusicPlayer* player);
    void setRootWidget(Widget* root);
    Renderer* getRenderer() const { return renderer; }
    ShowConfig* getConfig() const { return config; }
    MusicPlayer* getPlayer() const { return player; }
    Widget* getRootWidget() const { return rootWidget; }
    // Where the player keys go (not owned; null: they do nothing).
    void setPlayerCommands(PlayerCommands* value) { commands = value; }
    PlayerCommands* getPlayerCommands() const { return commands; }
    // The desktop's media controls, answered between frames (not owned).
    void setMediaRemote(MediaRemote* value) { remote = value; }

    // Main loop: pumps messages and draws one frame per message until the
    // quit protocol ends it; then releases the renderer, configuration and
    // player. Returns the exit code.
    int run();
    // One message; false when the loop must end.
    bool pumpMessage();
    // While the show loads and the window is still hidden: dispatches every
    // message waiting, so that the close request (a signal, the end of the
    // session) and Escape are answered between two pictures, not only once
    // the loop runs. True once a WM_QUIT has come: the start-up is given up
    // and run() only releases the objects. Always false once shown.
    bool answerDuringStart();
    bool isStartAbandoned() const { return startAbandoned; }
    // Draws one frame (clear, identity, layout, push, draw, pop, swap).
    void drawFrame();

    void destroy();

    // Window-pixel positions (origin top-left of the client area).
    void dispatchMouseMove(int x, int y);
    void dispatchMouseDown(int x, int y, int button);
    void dispatchMouseUp(int x, int y, int button);

    bool isShown() const { return shown; }
    bool isQuitRequested() const { return quitRequested; }
    int getExitCode() const { return exitCode; }

private:
    // Releases and frees the renderer, configuration and player.
    void releaseObjects();

    HWND handle = nullptr;
    HINSTANCE instance = nullptr;
    char className[256] = {};
    char windowName[256] = {};
    bool shown = false;
    bool quitRequested = false;
    bool startAbandoned = false;
    int exitCode = 0;
    UINT_PTR timerId = 0;
    Renderer* renderer = nullptr;
    ShowConfig* config = nullptr;
    MusicPlayer* player = nullptr;
    Widget* rootWidget = nullptr;
    PlayerCommands* commands = nullptr;
    MediaRemote* remote = nullptr;
};

// Process-wide: the one main window, and whether its class is registered.
extern MainWindow* theWindow;
extern bool windowRegistered;

LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Warning message box with the caption "Orrin Tide Vellumo".
void showMessage(std::string text);

} // namespace vlo
