#pragma once
// The tests of the Windows programs under Wine share one session (one zip
// unpacked, one fresh Wine prefix, one X server) for the whole test program:
// making the prefix takes longer than most of the runs. It is made for the
// first test and ended when the program exits.
#include <gtest/gtest.h>

#include "support/WineSession.h"

namespace vlo {

class WineRun : public ::testing::Test {
protected:
    static e2e::WineSession& sharedSession()
    {
        static e2e::WineSession shared;
        return shared;
    }

    void SetUp() override
    {
        session = &sharedSession();
        if (!session->skipReason.empty())
            GTEST_SKIP() << session->skipReason;
        ASSERT_TRUE(session->ready) << session->problem;
    }

    e2e::WineSession* session = nullptr;
};

} // namespace vlo
