// The recorded operation list: what makes two frames equal and which frames
// put back everything they change.

#include <gtest/gtest.h>

#include "render/FrameList.h"

namespace vlo {
namespace {

// clear, loadIdentity, pushState, body, popState.
FrameList closedFrame(float alpha)
{
    FrameList list;
    list.add(FrameOp::Clear, {1.0f, 1.0f, 1.0f, 0.5f});
    list.add(FrameOp::LoadIdentity);
    list.add(FrameOp::PushState);
    list.add(FrameOp::Color, {1.0f, 1.0f, 1.0f, alpha});
    list.addWords(FrameOp::BindTexture, {7u});
    list.add(FrameOp::Quad, {0, 0, 7, 0, 7, 6, 0, 6, 0.68f, 0.59f});
    list.add(FrameOp::PopState);
    return list;
}

TEST(FrameListTest, OperationsAreReadBackWithTheirArguments)
{
    FrameList list;
    list.add(FrameOp::Translate, {1.5f, -2.0f});
    list.addWords(FrameOp::BlendFunc, {0x302u, 0x303u});
    list.addText(42u, 0.25f, 0.5f, "Exit");
    const uint8_t pixels[4] = {};
    list.addImage(2, 1, 0x1907u, pixels, 6.0f);
    list.add(FrameOp::End);

    size_t pos = 0;
    EXPECT_EQ(list.op(pos), FrameOp::Translate);
    EXPECT_EQ(list.number(pos, 0), 1.5f);
    EXPECT_EQ(list.number(pos, 1), -2.0f);
    pos = list.next(pos);
    EXPECT_EQ(list.op(pos), FrameOp::BlendFunc);
    EXPECT_EQ(list.word(pos, 0), 0x302u);
    EXPECT_EQ(list.word(pos, 1), 0x303u);
    pos = list.next(pos);
    EXPECT_EQ(list.op(pos), FrameOp::DrawText);
    EXPECT_EQ(list.word(pos, 0), 42u);
    EXPECT_EQ(list.number(pos, 1), 0.25f);
    EXPECT_EQ(list.number(pos, 2), 0.5f);
    EXPECT_EQ(list.text(pos), "Exit");
    pos = list.next(pos);
    EXPECT_EQ(list.op(pos), FrameOp::DrawImage);
    EXPECT_EQ(list.word(pos, 0), 2u);
    EXPECT_EQ(list.word(pos, 1), 1u);
    EXPECT_EQ(list.word(pos, 2), 0x1907u);
    EXPECT_EQ(list.imagePixels(pos), static_cast<const void*>(pixels));
    EXPECT_EQ(list.number(pos, 5), 6.0f);
    pos = list.next(pos);
    EXPECT_EQ(list.op(pos), FrameOp::End);
    EXPECT_EQ(list.next(pos), list.size());
    EXPECT_EQ(list.operationCount(), 5u);
}

TEST(FrameListTest, FramesAreEqualOnlyWithTheSameOperationsAndArguments)
{
    EXPECT_TRUE(closedFrame(0.5f) == closedFrame(0.5f));
    EXPECT_TRUE(closedFrame(0.5f) != closedFrame(0.5001f)) << "one colour component";
    EXPECT_TRUE(closedFrame(0.0f) != closedFrame(-0.0f)) << "floats compare bit for bit";

    FrameList a;
    a.addText(1u, 0.0f, 0.0f, "ab");
    a.addText(1u, 0.0f, 0.0f, "c");
    FrameList b;
    b.addText(1u, 0.0f, 0.0f, "a");
    b.addText(1u, 0.0f, 0.0f, "bc");
    EXPECT_TRUE(a != b) << "the same characters split differently are other texts";

    FrameList one;
    one.addWords(FrameOp::BindTexture, {3u});
    FrameList other;
    other.addWords(FrameOp::BindTexture, {4u});
    EXPECT_TRUE(one != other) << "one texture name";

    FrameList emptied = closedFrame(0.5f);
    emptied.clear();
    EXPECT_TRUE(emptied.empty());
    EXPECT_EQ(emptied.operationCount(), 0u);
    EXPECT_TRUE(emptied == FrameList());
}

TEST(FrameListTest, TheCommonStartEndsAtTheFirstOperationThatDiffers)
{
    const FrameList half = closedFrame(0.5f);
    EXPECT_EQ(half.commonStart(closedFrame(0.5f)), half.size()) << "equal frames";

    // Clear, loadIdentity and pushState are shared; the colour differs.
    size_t colour = 0;
    for (int i = 0; i < 3; ++i)
        colour = half.next(colour);
    ASSERT_EQ(half.op(colour), FrameOp::Color);
    EXPECT_EQ(half.commonStart(closedFrame(0.25f)), colour);
    EXPECT_EQ(closedFrame(0.25f).commonStart(half), colour) << "either way round";

    FrameList shorter;
    shorter.add(FrameOp::Clear, {1.0f, 1.0f, 1.0f, 0.5f});
    shorter.add(FrameOp::LoadIdentity);
    EXPECT_EQ(half.commonStart(shorter), shorter.size()) << "a list that stops early";
    EXPECT_EQ(shorter.commonStart(half), shorter.size());
    EXPECT_EQ(half.commonStart(FrameList()), 0u);

    // Same display-list base, place and length: only the characters differ.
    FrameList exit;
    exit.add(FrameOp::LoadIdentity);
    exit.addText(1u, 0.0f, 0.0f, "Exit");
    FrameList quit;
    quit.add(FrameOp::LoadIdentity);
    quit.addText(1u, 0.0f, 0.0f, "Quit");
    EXPECT_EQ(exit.commonStart(quit), exit.next(0));
}

TEST(FrameListTest, AFrameIsClosedOnlyWhenItPutsItsStateBack)
{
    EXPECT_TRUE(closedFrame(1.0f).isClosed());

    FrameList nested = closedFrame(1.0f);
    nested.clear();
    nested.add(FrameOp::Clear, {0, 0, 0, 1});
    nested.add(FrameOp::LoadIdentity);
    nested.add(FrameOp::PushState);
    nested.add(FrameOp::PushState);
    nested.add(FrameOp::Translate, {1, 1});
    nested.add(FrameOp::PopState);
    nested.addWords(FrameOp::Begin, {7u});
    nested.add(FrameOp::Vertex, {0, 0});
    nested.add(FrameOp::End);
    nested.add(FrameOp::PopState);
    EXPECT_TRUE(nested.isClosed()) << "nested brackets and a closed primitive";

    struct Case {
        const char* what;
        FrameList list;
    };
    std::vector<Case> cases;
    FrameList list;
    cases.push_back({"empty", list});

    list = closedFrame(1.0f);
    list.add(FrameOp::Color, {0, 0, 0, 1});
    cases.push_back({"an operation after the closing popState", list});

    list.clear();
    list.add(FrameOp::LoadIdentity);
    list.add(FrameOp::Clear, {0, 0, 0, 1});
    list.add(FrameOp::PushState);
    list.add(FrameOp::PopState);
    cases.push_back({"identity before the clear", list});

    list.clear();
    list.add(FrameOp::Clear, {0, 0, 0, 1});
    list.add(FrameOp::PushState);
    list.add(FrameOp::PopState);
    cases.push_back({"no loadIdentity", list});

    list.clear();
    list.add(FrameOp::Clear, {0, 0, 0, 1});
    list.add(FrameOp::LoadIdentity);
    list.add(FrameOp::PushState);
    list.add(FrameOp::PushState);
    list.add(FrameOp::PopState);
    cases.push_back({"a pushState never popped", list});

    list.clear();
    list.add(FrameOp::Clear, {0, 0, 0, 1});
    list.add(FrameOp::LoadIdentity);
    list.add(FrameOp::PushState);
    list.addWords(FrameOp::Begin, {7u});
    list.add(FrameOp::PopState);
    cases.push_back({"a primitive left open", list});

    list.clear();
    list.add(FrameOp::Clear, {0, 0, 0, 1});
    list.add(FrameOp::LoadIdentity);
    list.add(FrameOp::PushState);
    list.add(FrameOp::End);
    list.add(FrameOp::PopState);
    cases.push_back({"an end of a primitive opened before the frame", list});

    for (const Case& c : cases)
        EXPECT_FALSE(c.list.isClosed()) << c.what;
}

} // namespace
} // namespace vlo
