#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/Color.h"
#include "common/Vector2.h"
#include "widgets/WidgetHandler.h"

namespace vlo {

class Renderer;

enum LayoutDirection { Horizontal = 0, Vertical = 1 };
enum Alignment { TopLeft = 2, TopRight = 3, BottomLeft = 4, BottomRight = 5 };

// True while a popup menu is shown; push buttons outside it then ignore the mouse.
extern bool popupOpen;

// The texts className() returns. The toolkit recognises popup menus and push
// buttons by them; the per-frame paths compare these constants through
// typeName() so that no std::string is built while drawing or dispatching.
inline constexpr char kGenericObjectClass[] = "Generic Object";
inline constexpr char kDesktopWidgetClass[] = "Desktop Widget";
inline constexpr char kFrameWidgetClass[] = "Frame Widget";
inline constexpr char kPushButtonWidgetClass[] = "PushButton Widget";
inline constexpr char kStaticWidgetClass[] = "Static Widget";
inline constexpr char kPopupMenuWidgetClass[] = "PopupMenu Widget";
inline constexpr char kTriggerEventClass[] = "Generic Trigger Event";

// Base of every widget: a node of the tree with an absolute rectangle in GUI
// units (origin top-left, y down), lazy box layout, event dispatch to
// children and handlers, and two-pass drawing. Owns its children and handlers.
class Widget {
public:
    Widget(Widget* parent, const char* name);
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    virtual bool onMouseMove(Vector2 point);
    virtual void onMouseLeave();
    virtual bool onMouseDown(Vector2 point, int button);
    virtual bool onMouseUp(Vector2 point, int button);
    virtual void draw(Renderer& renderer);
    virtual std::string className() const;

    uint32_t addChild(Widget* child);
    void setHandler(WidgetHandler* handler);
    void setPopup(Widget* popupWidget);
    void hide();
    void show();
    void setFlowExcluded();
    void setBlendFactors(int source, int destination);

    void setPosition(Vector2 value);
    void setSize(Vector2 value);
    void setMinimumSize(Vector2 value);
    void setMargin(float value);
    void setSpacing(float value);
    void setAlignment(Alignment value);
    void setDirection(LayoutDirection value);

    void updateLayout();
    Vector2 position();
    Vector2 size();
    Rect rect();
    Vector2 relativePosition();
    Vector2 toAbsolute(Vector2 point);
    bool hitTest(Vector2 point, Vector2& local);
    Vector2 contentMinimumSize() const;
    Vector2 fitToImage(Renderer& renderer, uint32_t image);
    void centerHorizontally(Renderer& renderer);
    Widget* parent() const { return parent_; }

    void computeSize();
    void placeSubtree();

    // Runs the Draw handler, if any, with this widget as sender.
    void invokeDrawHandler(Renderer& renderer);
    WidgetHandler* handler(int kind) const;

    // The same text as className(), without building a string; set by each
    // constructor of the class hierarchy.
    const char* typeName() const { return typeName_; }
    bool isClass(const char* className) const { return std::strcmp(typeName_, className) == 0; }

    std::vector<Widget*> children;
    Widget* parent_ = nullptr;
    Widget* popup = nullptr;
    std::string name;
    Vector2 position_;
    Vector2 size_;
    Vector2 minimumSize;
    Vector2 maximumSize{8.0f, 6.0f};
    int blendSource = 3;
    int blendDestination = 7;
    bool hasMinimumSize = false;
    bool positionFixed = false;
    bool sizeFixed = false;
    bool hidden = false;
    bool flowExcluded = false;
    float margin = 0.2f;
    float spacing = 0.1f;
    LayoutDirection direction = Horizontal;
    int alignment = TopLeft;
    bool layoutDirty = false;
    bool mouseInside = false;
    uint32_t indexInParent = 0;
    WidgetHandler* handlers[5] = {};
    // The widget that adopted this one with setPopup, if any: a widget is
    // adopted at most once, so that it has a single owner.
    Widget* adoptedBy = nullptr;

protected:
    const char* typeName_ = kGenericObjectClass;
};

} // namespace vlo
