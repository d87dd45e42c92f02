#include "frontend/PlayerCommands.h"

#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "platform/Win32.h"
#include "shell/MainWindow.h"
#include "widgets/PushButtonWidget.h"

namespace vlo {

PlayerCommands::PlayerCommands(ShowScreen& owner)
    : screen(owner)
{
}

void PlayerCommands::fromKey(MediaCommand command, bool mediaKey)
{
    if (mediaKey && isEcho(command, Source::Key))
        return;
    run(command);
}

void PlayerCommands::fromBus(MediaCommand command)
{
    if (isEcho(command, Source::Bus))
        return;
    run(command);
}

bool PlayerCommands::isEcho(MediaCommand command, Source source)
{
    const uint32_t now = GetTickCount();
    const bool echo
        = lastSource != Source::None && lastSource != source && lastCommand == command && now - lastTick < EchoMs;
    // An echo is used up: a third delivery is a new press.
    lastSource = echo ? Source::None : source;
    lastCommand = command;
    lastTick = now;
    return echo;
}

void PlayerCommands::click(PushButtonWidget* button)
{
    if (button == nullptr)
        return;
    WidgetEvent event;
    event.point = button->relativePosition();
    event.button = LeftButton;
    event.renderer = screen.renderer;
    if (WidgetHandler* press = button->handler(MouseDown))
        press->invoke(button, event);
    if (WidgetHandler* release = button->handler(MouseUp))
        release->invoke(button, event);
}

void PlayerCommands::run(MediaCommand command)
{
    if (screen.player == nullptr)
        return;
    const bool playing = screen.player->state == Playing;
    switch (command) {
    case MediaCommand::PlayPause:
        click(screen.playButton);
        break;
    case MediaCommand::Play:
        if (!playing)
            click(screen.playButton);
        break;
    case MediaCommand::Pause:
        if (playing)
            click(screen.playButton);
        break;
    case MediaCommand::Stop:
        click(screen.stopButton);
        break;
    case MediaCommand::Next:
        click(screen.nextButton);
        break;
    case MediaCommand::Previous:
        click(screen.prevButton);
        break;
    case MediaCommand::Quit:
        // As Escape: the closing sequence, or the end at once during it.
        PostQuitMessage(0);
        break;
    case MediaCommand::Raise:
        screen.window->raise();
        break;
    }
}

} // namespace vlo
