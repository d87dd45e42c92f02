// The player keys and the desktop's media controls act through the player
// buttons' own handlers, and one press of a media key that arrives both as a
// key and over the media controls acts once.
#include <gtest/gtest.h>

#include "content/ShowConfig.h"
#include "frontend/PlayerCommands.h"
#include "support/ShowScreenHarness.h"
#include "widgets/PushButtonWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;
using namespace show;

TEST(PlayerCommandsTest, CommandsActAsTheButtonsAndAMediaKeyActsOncePerPress)
{
    ShowScreenHarness h{standardShow(3)};
    h.fastForward(10.0f);
    ShowScreen& s = *h.screen;
    PlayerCommands& commands = *s.commands;

    // Play while playing and Pause while paused change nothing; the others
    // move the player and the play button's pictures as a click does.
    commands.run(MediaCommand::Play);
    EXPECT_EQ(Playing, h.player->state);
    EXPECT_TRUE(s.musicPlaying);
    commands.run(MediaCommand::Pause);
    EXPECT_EQ(Paused, h.player->state);
    EXPECT_FALSE(s.musicPlaying);
    EXPECT_EQ(uint32_t(s.playOffTexture), s.playButton->image);
    commands.run(MediaCommand::Pause);
    EXPECT_EQ(Paused, h.player->state);
    commands.run(MediaCommand::PlayPause);
    EXPECT_EQ(Playing, h.player->state);
    EXPECT_EQ(uint32_t(s.pauseOffTexture), s.playButton->image);
    commands.run(MediaCommand::Stop);
    EXPECT_EQ(Stopped, h.player->state);
    EXPECT_FALSE(s.musicPlaying);
    commands.run(MediaCommand::Previous);
    EXPECT_EQ(2u, h.config->currentTrack) << "previous wraps to the last entry";
    EXPECT_EQ(Playing, h.player->state);
    EXPECT_TRUE(s.musicPlaying);

    // A media key and the same command over the bus within a moment: one
    // press. Later, or for keys no desktop delivers twice, each one acts.
    commands.fromKey(MediaCommand::Next, true);
    test::fakeTicks() += 100;
    commands.fromBus(MediaCommand::Next);
    EXPECT_EQ(0u, h.config->currentTrack);
    test::fakeTicks() += PlayerCommands::EchoMs;
    commands.fromBus(MediaCommand::Next);
    EXPECT_EQ(1u, h.config->currentTrack);
    test::fakeTicks() += 50;
    commands.fromKey(MediaCommand::Next, false);
    EXPECT_EQ(2u, h.config->currentTrack);
    commands.fromBus(MediaCommand::Previous);
    test::fakeTicks() += 50;
    commands.fromKey(MediaCommand::Previous, true);
    commands.fromKey(MediaCommand::Previous, true);
    EXPECT_EQ(0u, h.config->currentTrack) << "the second key press is a press of its own";
}

} // namespace
} // namespace vlo
