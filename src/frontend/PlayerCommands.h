#pragma once
#include <cstdint>

#include "platform/MediaCommand.h"

namespace vlo {

class ShowScreen;
class PushButtonWidget;

// The player keys and the desktop's media controls, carried out by the
// player buttons' own handlers, so that the button pictures, the caption and
// the page logic react exactly as to a click.
class PlayerCommands {
public:
    explicit PlayerCommands(ShowScreen& screen);

    // A key pressed on the window. mediaKey: one of the keyboard's media keys,
    // which a desktop may deliver over its media controls as well; the second
    // delivery of one press is dropped.
    void fromKey(MediaCommand command, bool mediaKey);
    // A request of the desktop's media controls.
    void fromBus(MediaCommand command);
    // Carries the command out.
    void run(MediaCommand command);

    // Milliseconds within which the same command from the other source is
    // taken for the same press.
    static constexpr uint32_t EchoMs = 300;

private:
    enum class Source { None, Key, Bus };
    // True when the command is the other source's delivery of the press just
    // carried out.
    bool isEcho(MediaCommand command, Source source);
    // A click on the button: its press handler, then its release handler.
    void click(PushButtonWidget* button);

    ShowScreen& screen;
    Source lastSource = Source::None;
    MediaCommand lastCommand = MediaCommand::Stop;
    uint32_t lastTick = 0;
};

} // namespace vlo
