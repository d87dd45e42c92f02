#include "TrackScenes.h"

#include "Palette.h"

namespace vlo::demo {

void frameTrackPicture(Canvas& canvas)
{
    float w = static_cast<float>(canvas.width());
    float h = static_cast<float>(canvas.height());
    Mask mount(canvas.width(), canvas.height());
    mount.addShape(0.0f, 0.0f, w, h, [](float, float) { return -1.0f; });
    Mask window(canvas.width(), canvas.height());
    window.addRoundedRect(7.0f, 7.0f, w - 7.0f, h - 7.0f, 3.0f);
    mount.cut(window);
    canvas.paint(mount, straight(0.98f, 0.93f, 0.83f));

    Mask hairline(canvas.width(), canvas.height());
    hairline.addRoundedRect(6.0f, 6.0f, w - 6.0f, h - 6.0f, 4.0f);
    hairline.cut(window);
    canvas.paint(hairline, straight(0.45f, 0.22f, 0.10f, 0.8f));
}

void addPine(Mask& mask, float x, float groundY, float height)
{
    float trunk = height * 0.05f;
    mask.addPolygon({{x - trunk, groundY}, {x - trunk, groundY - height * 0.2f}, {x + trunk, groundY - height * 0.2f},
        {x + trunk, groundY}});
    // Three tiers, each narrower and higher than the one below.
    for (int tier = 0; tier < 3; ++tier) {
        float bottom = groundY - height * (0.12f + 0.26f * tier);
        float top = bottom - height * (0.5f - 0.06f * tier);
        float half = height * (0.24f - 0.05f * tier);
        mask.addPolygon({{x - half, bottom}, {x, top}, {x + half, bottom}});
    }
}

} // namespace vlo::demo
