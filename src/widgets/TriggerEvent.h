#pragma once
#include "widgets/Widget.h"

namespace vlo {

// An invisible widget whose Draw handler runs once per frame: the screen's
// per-frame logic hangs on these.
class TriggerEvent : public Widget {
public:
    TriggerEvent(Widget* parent, const char* name);

    std::string className() const override;
};

} // namespace vlo
