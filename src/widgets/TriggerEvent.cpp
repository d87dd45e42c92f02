#include "widgets/TriggerEvent.h"

namespace vlo {

TriggerEvent::TriggerEvent(Widget* parent, const char* name)
    : Widget(parent, name)
{
    typeName_ = kTriggerEventClass;
    // Parked far outside the view so the pointer never reaches it, and kept
    // out of its parent's flow so it pushes no sibling aside.
    position_ = Vector2(-1000.0f, -1000.0f);
    positionFixed = true;
    setFlowExcluded();
    layoutDirty = true;
}

std::string TriggerEvent::className() const
{
    return kTriggerEventClass;
}

} // namespace vlo
