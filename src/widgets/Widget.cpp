#include "widgets/Widget.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "render/Renderer.h"
#include "render/TextureInfo.h"

namespace vlo {

bool popupOpen = false;

namespace {

// Names are kept to what a 256-byte zero-terminated buffer holds.
constexpr size_t kMaxNameLength = 255;

// Handler slots are indexed by HandlerKind - 1.
constexpr int slotOf(int kind)
{
    return kind - MouseMove;
}

} // namespace

Widget::Widget(Widget* parent, const char* widgetName)
{
    if (widgetName != nullptr) {
        size_t length = 0;
        while (length < kMaxNameLength && widgetName[length] != '\0') {
            ++length;
        }
        name.assign(widgetName, length);
    }
    if (parent != nullptr) {
        parent_ = parent;
        indexInParent = parent->addChild(this);
        // The parent is laid out at once so that the new child has a size and a
        // place before the caller configures it; the parent's dirty flag is left
        // as it was.
        parent->computeSize();
        parent->placeSubtree();
    }
}

Widget::~Widget()
{
    for (Widget* child : children) {
        delete child;
    }
    children.clear();
    children.shrink_to_fit();
    static constexpr int kReleaseOrder[] = {MouseDown, MouseUp, Draw, MouseMove, MouseLeave};
    for (int kind : kReleaseOrder) {
        delete handlers[slotOf(kind)];
        handlers[slotOf(kind)] = nullptr;
    }
}

// ---- Events -------------------------------------------------------------
// Points arrive relative to this widget's parent (absolute for the root and
// for a popup menu) and reach this widget's handlers that way. Rectangles are
// absolute, so the children are hit-tested with the point made absolute
// again; each child then receives it relative to this widget. Children are
// walked by index because a handler may add widgets.

bool Widget::onMouseMove(Vector2 point)
{
    const Vector2 absolute = toAbsolute(point);
    bool handled = false;
    for (size_t i = 0; i < children.size(); ++i) {
        Widget* child = children[i];
        Vector2 local;
        if (child->hitTest(absolute, local)) {
            child->mouseInside = true;
            child->onMouseMove(local);
            handled = true;
        } else if (child->mouseInside) {
            child->mouseInside = false;
            child->onMouseLeave();
        }
    }
    if (!handled) {
        if (WidgetHandler* reaction = handler(MouseMove)) {
            WidgetEvent event;
            event.point = point;
            reaction->invoke(this, event);
        }
    }
    return handled;
}

void Widget::onMouseLeave()
{
    // Children keep their mouseInside: they learn of the move only when this
    // widget receives one that no longer hits them.
    if (WidgetHandler* reaction = handler(MouseLeave)) {
        reaction->invoke(this, WidgetEvent());
    }
}

bool Widget::onMouseDown(Vector2 point, int button)
{
    const Vector2 absolute = toAbsolute(point);
    bool handled = false;
    // Every child under the point gets the press, overlapping ones included.
    for (size_t i = 0; i < children.size(); ++i) {
        Vector2 local;
        if (children[i]->hitTest(absolute, local)) {
            children[i]->onMouseDown(local, button);
            handled = true;
        }
    }
    if (!handled) {
        if (WidgetHandler* reaction = handler(MouseDown)) {
            WidgetEvent event;
            event.point = point;
            event.button = button;
            reaction->invoke(this, event);
        }
    }
    return handled;
}

bool Widget::onMouseUp(Vector2 point, int button)
{
    const Vector2 absolute = toAbsolute(point);
    bool handled = false;
    for (size_t i = 0; i < children.size(); ++i) {
        Vector2 local;
        if (children[i]->hitTest(absolute, local)) {
            children[i]->onMouseUp(local, button);
            handled = true;
        }
    }
    if (!handled) {
        if (WidgetHandler* reaction = handler(MouseUp)) {
            WidgetEvent event;
            event.point = point;
            event.button = button;
            reaction->invoke(this, event);
        }
    }
    return handled;
}

bool Widget::hitTest(Vector2 point, Vector2& local)
{
    const Rect r = rect();
    // Strict on all four sides: a point on the border is outside.
    if (!(r.x1() < point.x && point.x < r.x2() && r.y1() < point.y && point.y < r.y2())) {
        return false;
    }
    local = parent_ != nullptr ? point - parent_->position() : point;
    return true;
}

// ---- Drawing ------------------------------------------------------------

void Widget::draw(Renderer& renderer)
{
    // Popup menus are skipped here and drawn through their owner's popup
    // field afterwards, so that they lie on top of the owner's siblings.
    for (size_t i = 0; i < children.size(); ++i) {
        if (!children[i]->isClass(kPopupMenuWidgetClass)) {
            children[i]->draw(renderer);
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i]->popup != nullptr) {
            children[i]->popup->draw(renderer);
        }
    }
    invokeDrawHandler(renderer);
}

void Widget::invokeDrawHandler(Renderer& renderer)
{
    if (WidgetHandler* reaction = handler(Draw)) {
        WidgetEvent event;
        event.renderer = &renderer;
        reaction->invoke(this, event);
    }
}

std::string Widget::className() const
{
    return kGenericObjectClass;
}

// ---- Tree and handlers --------------------------------------------------

uint32_t Widget::addChild(Widget* child)
{
    const uint32_t index = static_cast<uint32_t>(children.size());
    children.push_back(child);
    return index;
}

void Widget::setHandler(WidgetHandler* newHandler)
{
    if (newHandler == nullptr) {
        return;
    }
    const int kind = newHandler->kind();
    // A handler of an unknown kind is not taken: the caller keeps it.
    if (kind < MouseMove || kind > Draw) {
        return;
    }
    WidgetHandler*& slot = handlers[slotOf(kind)];
    // The widget owns its handlers, so the one being replaced is released
    // here; nobody else would.
    if (slot != newHandler) {
        delete slot;
        slot = newHandler;
    }
}

WidgetHandler* Widget::handler(int kind) const
{
    if (kind < MouseMove || kind > Draw) {
        return nullptr;
    }
    return handlers[slotOf(kind)];
}

void Widget::setPopup(Widget* popupWidget)
{
    // The popup becomes one of this widget's children and is destroyed with
    // it. A widget that already has an owner (a parent, or an earlier
    // adoption) is refused: owning it twice would destroy it twice.
    if (popupWidget == nullptr || popupWidget == this || popupWidget->parent_ != nullptr
        || popupWidget->adoptedBy != nullptr) {
        return;
    }
    popupWidget->indexInParent = addChild(popupWidget);
    popupWidget->adoptedBy = this;
    popup = popupWidget;
}

void Widget::hide()
{
    hidden = true;
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->hide();
    }
    if (isClass(kPopupMenuWidgetClass)) {
        popupOpen = false;
    }
}

void Widget::show()
{
    hidden = false;
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->show();
    }
    if (isClass(kPopupMenuWidgetClass)) {
        popupOpen = true;
    }
}

void Widget::setFlowExcluded()
{
    flowExcluded = true;
}

void Widget::setBlendFactors(int source, int destination)
{
    blendSource = source;
    blendDestination = destination;
}

// ---- Layout properties --------------------------------------------------

void Widget::setPosition(Vector2 value)
{
    position_ = value;
    positionFixed = true;
    layoutDirty = true;
}

void Widget::setSize(Vector2 value)
{
    size_ = value;
    sizeFixed = true;
    layoutDirty = true;
}

void Widget::setMinimumSize(Vector2 value)
{
    minimumSize = value;
    hasMinimumSize = true;
    layoutDirty = true;
}

void Widget::setMargin(float value)
{
    margin = std::fabs(value);
    layoutDirty = true;
}

void Widget::setSpacing(float value)
{
    spacing = std::fabs(value);
    layoutDirty = true;
}

void Widget::setAlignment(Alignment value)
{
    alignment = value;
    layoutDirty = true;
}

void Widget::setDirection(LayoutDirection value)
{
    direction = value;
    layoutDirty = true;
}

// ---- Layout -------------------------------------------------------------
// Sizes are computed bottom-up, then positions top-down; all in GUI units,
// positions absolute (origin top-left, y down).

void Widget::updateLayout()
{
    if (!layoutDirty) {
        return;
    }
    computeSize();
    placeSubtree();
    layoutDirty = false;
}

Vector2 Widget::position()
{
    updateLayout();
    return position_;
}

Vector2 Widget::size()
{
    updateLayout();
    return size_;
}

Rect Widget::rect()
{
    const Vector2 at = position();
    const Vector2 extent = size();
    return Rect(at.x, at.y, at.x + extent.x, at.y + extent.y);
}

Vector2 Widget::relativePosition()
{
    const Vector2 at = position();
    return parent_ != nullptr ? at - parent_->position() : at;
}

Vector2 Widget::toAbsolute(Vector2 point)
{
    updateLayout();
    return parent_ != nullptr ? parent_->position() + point : point;
}

Vector2 Widget::contentMinimumSize() const
{
    if (hasMinimumSize) {
        return minimumSize;
    }
    // Hidden children count here: the largest child, whatever its state.
    float widest = 0.0f;
    float tallest = 0.0f;
    for (const Widget* child : children) {
        widest = std::max(widest, child->size_.x);
        tallest = std::max(tallest, child->size_.y);
    }
    return Vector2(widest + 2.0f * margin, tallest + 2.0f * margin);
}

void Widget::computeSize()
{
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->computeSize();
    }
    if (sizeFixed) {
        return;
    }
    float width = 2.0f * margin;
    float height = 2.0f * margin;
    float widest = 0.0f;
    float tallest = 0.0f;
    const size_t count = children.size();
    for (size_t i = 0; i < count; ++i) {
        const Widget* child = children[i];
        if (child->hidden) {
            continue;
        }
        // The spacing follows every visible child but the last in the list,
        // so a hidden last child still leaves its gap.
        const bool last = i + 1 == count;
        if (direction == Horizontal) {
            width += child->size_.x + (last ? 0.0f : spacing);
        } else if (direction == Vertical) {
            height += child->size_.y + (last ? 0.0f : spacing);
        }
        widest = std::max(widest, child->size_.x);
        tallest = std::max(tallest, child->size_.y);
    }
    width = std::max(width, widest);
    height = std::max(height, tallest);
    const Vector2 minimum = contentMinimumSize();
    width = std::max(width, minimum.x);
    height = std::max(height, minimum.y);
    // The maximum wins over the minimum.
    size_.x = std::min(width, maximumSize.x);
    size_.y = std::min(height, maximumSize.y);
}

void Widget::placeSubtree()
{
    if (parent_ == nullptr) {
        if (!positionFixed) {
            position_ = Vector2(0.0f, 0.0f);
        }
    } else if (!positionFixed) {
        const Widget& owner = *parent_;
        const float m = owner.margin;
        const Vector2 outer = owner.size_;
        Vector2 at = owner.position_;
        switch (owner.alignment) {
        case TopLeft:
            at.x += m;
            at.y += m;
            break;
        case TopRight:
            at.x += outer.x - (size_.x + m);
            at.y += m;
            break;
        case BottomLeft:
            at.x += m;
            at.y += outer.y - (size_.y + m);
            break;
        case BottomRight:
            at.x += outer.x - (size_.x + m);
            at.y += outer.y - (size_.y + m);
            break;
        default:
            // Unknown alignments stack every child on the parent's corner.
            break;
        }
        const bool fromLeft = owner.alignment == TopLeft || owner.alignment == BottomLeft;
        const bool fromRight = owner.alignment == TopRight || owner.alignment == BottomRight;
        const bool fromTop = owner.alignment == TopLeft || owner.alignment == TopRight;
        const bool fromBottom = owner.alignment == BottomLeft || owner.alignment == BottomRight;
        const size_t before = std::min<size_t>(indexInParent, owner.children.size());
        for (size_t j = 0; j < before; ++j) {
            const Widget* sibling = owner.children[j];
            if (sibling->hidden || sibling->flowExcluded) {
                continue;
            }
            if (owner.direction == Horizontal) {
                const float step = sibling->size_.x + owner.spacing;
                if (fromLeft) {
                    at.x += step;
                } else if (fromRight) {
                    at.x -= step;
                }
            } else if (owner.direction == Vertical) {
                const float step = sibling->size_.y + owner.spacing;
                if (fromTop) {
                    at.y += step;
                } else if (fromBottom) {
                    at.y -= step;
                }
            }
        }
        position_ = at;
    }
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->placeSubtree();
    }
}

Vector2 Widget::fitToImage(Renderer& renderer, uint32_t image)
{
    // Texture numbers are ints on the renderer's side; larger ones name nothing.
    if (image == 0 || image > static_cast<uint32_t>(INT_MAX)) {
        return Vector2();
    }
    const TextureInfo* info = renderer.textureInfo(static_cast<int>(image));
    if (info == nullptr) {
        return Vector2();
    }
    float unitsX = 0.0f;
    float unitsY = 0.0f;
    renderer.unitsPerPixel(unitsX, unitsY);
    // The picture's own pixel size, not its power-of-two texture size.
    const float width = static_cast<float>(info->sourceWidth) * unitsX;
    const float height = static_cast<float>(info->sourceHeight) * unitsY;
    if (size_.x < width) {
        size_.x = width;
    }
    if (size_.y < height) {
        size_.y = height;
    }
    sizeFixed = true;
    if (parent_ != nullptr) {
        parent_->layoutDirty = true;
        parent_->updateLayout();
    }
    return Vector2(width, height);
}

void Widget::centerHorizontally(Renderer& renderer)
{
    updateLayout();
    positionFixed = true;
    layoutDirty = true;
    // Laid out again with the position fixed, so it stays where it is.
    const Vector2 at = position();
    float viewWidth = 0.0f;
    float viewHeight = 0.0f;
    renderer.logicalSize(viewWidth, viewHeight);
    position_ = Vector2(viewWidth * 0.5f - size_.x * 0.5f, at.y);
    positionFixed = true;
    layoutDirty = true;
}

} // namespace vlo
