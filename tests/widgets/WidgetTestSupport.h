#pragma once
// Helpers for the widget tests: a handler that logs what it receives, a
// widget that logs its destruction, and comparisons of GUI-unit values with
// messages that say expected and got.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/Color.h"
#include "common/Vector2.h"
#include "render/Renderer.h"
#include "widgets/Widget.h"
#include "widgets/WidgetHandler.h"

namespace vlo::test {

// Everything a test wants to know about handler calls and destructions,
// shared by all handlers and probes of one test; it must outlive the tree.
struct EventLog {
    struct Entry {
        std::string tag;
        Widget* sender = nullptr;
        Vector2 point;
        int button = -1;
        Renderer* renderer = nullptr;
    };
    std::vector<Entry> calls;
    std::vector<std::string> destroyed;

    std::vector<std::string> tags() const
    {
        std::vector<std::string> out;
        for (const Entry& e : calls) {
            out.push_back(e.tag);
        }
        return out;
    }
};

inline std::string joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : ", ") + item;
    }
    return "[" + out + "]";
}

// A handler of any kind that logs each invoke and its own destruction under
// its tag. A Draw handler can also leave a mark in the renderer's recording
// (setPointSize with `drawMark`) so that its place among the draw calls shows.
class LoggingHandler : public WidgetHandler {
public:
    LoggingHandler(int kind, std::string tag, EventLog* log, float drawMark = 0.0f)
        : kind_(kind)
        , tag_(std::move(tag))
        , log_(log)
        , drawMark_(drawMark)
    {
    }
    ~LoggingHandler() override { log_->destroyed.push_back(tag_); }

    int kind() override { return kind_; }
    bool invoke(Widget* sender, const WidgetEvent& event) override
    {
        log_->calls.push_back({tag_, sender, event.point, event.button, event.renderer});
        if (drawMark_ != 0.0f && event.renderer != nullptr) {
            event.renderer->setPointSize(drawMark_);
        }
        return true;
    }

private:
    int kind_;
    std::string tag_;
    EventLog* log_;
    float drawMark_;
};

// A plain widget that logs its destruction (before its children and
// handlers go, since the base destructor runs after this one).
class ProbeWidget : public Widget {
public:
    ProbeWidget(Widget* parent, std::string tag, EventLog* log)
        : Widget(parent, "")
        , tag_(std::move(tag))
        , log_(log)
    {
    }
    ~ProbeWidget() override { log_->destroyed.push_back(tag_); }

private:
    std::string tag_;
    EventLog* log_;
};

inline constexpr float kTolerance = 1e-5f;

inline std::string str(Vector2 v)
{
    std::ostringstream out;
    out << '(' << v.x << ", " << v.y << ')';
    return out.str();
}

inline ::testing::AssertionResult nearVec(Vector2 got, Vector2 expected)
{
    if (std::fabs(got.x - expected.x) <= kTolerance && std::fabs(got.y - expected.y) <= kTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << str(expected) << ", got " << str(got);
}

inline ::testing::AssertionResult nearColor(const Color& got, const Color& expected)
{
    const float g[4] = {got.r, got.g, got.b, got.a};
    const float e[4] = {expected.r, expected.g, expected.b, expected.a};
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(g[i] - e[i]) > kTolerance) {
            return ::testing::AssertionFailure()
                << "expected (" << e[0] << ", " << e[1] << ", " << e[2] << ", " << e[3] << "), got (" << g[0] << ", "
                << g[1] << ", " << g[2] << ", " << g[3] << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// Compares a recorded float list with the expected one.
inline ::testing::AssertionResult nearFloats(const std::vector<float>& got, const std::vector<float>& expected)
{
    bool same = got.size() == expected.size();
    for (size_t i = 0; same && i < got.size(); ++i) {
        same = std::fabs(got[i] - expected[i]) <= kTolerance;
    }
    if (same) {
        return ::testing::AssertionSuccess();
    }
    auto list = [](const std::vector<float>& v) {
        std::ostringstream out;
        out << '[';
        for (size_t i = 0; i < v.size(); ++i) {
            out << (i ? ", " : "") << v[i];
        }
        out << ']';
        return out.str();
    };
    return ::testing::AssertionFailure() << "expected " << list(expected) << ", got " << list(got);
}

// Marks a widget dirty and lays it out, as the frame loop does for the root.
inline void relayout(Widget& widget)
{
    widget.layoutDirty = true;
    widget.updateLayout();
}

} // namespace vlo::test
