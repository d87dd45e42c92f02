#include "GuiSet.h"

namespace vlo::demo {

namespace {

void addButton(std::vector<GuiGraphic>& gui, const std::string& name, ButtonSymbol symbol)
{
    for (bool pressed : {true, false}) {
        gui.push_back({"gui/" + name + (pressed ? "_on.png" : "_off.png"), GuiGraphic::Kind::Button, symbol,
            MenuIcon::Minimise, "", pressed});
    }
}

void addMenuItem(std::vector<GuiGraphic>& gui, const std::string& name, MenuIcon icon, const std::string& label)
{
    for (bool pressed : {false, true}) {
        gui.push_back({"gui/" + name + (pressed ? "_on.png" : "_off.png"), GuiGraphic::Kind::MenuItem,
            ButtonSymbol::Play, icon, label, pressed});
    }
}

} // namespace

std::vector<GuiGraphic> defaultGuiGraphics()
{
    std::vector<GuiGraphic> gui;
    addButton(gui, "play", ButtonSymbol::Play);
    addButton(gui, "pause", ButtonSymbol::Pause);
    addButton(gui, "stop", ButtonSymbol::Stop);
    addButton(gui, "prev", ButtonSymbol::Previous);
    addButton(gui, "next", ButtonSymbol::Next);
    addMenuItem(gui, "exit", MenuIcon::Exit, "Exit");
    addMenuItem(gui, "minimize", MenuIcon::Minimise, "Minimise");
    addMenuItem(gui, "credits", MenuIcon::Credits, "Credits");
    gui.push_back({"gui/polygon.png", GuiGraphic::Kind::MenuPanel, ButtonSymbol::Play, MenuIcon::Minimise, "", false});
    return gui;
}

Canvas drawGuiGraphic(const GuiGraphic& graphic, const StrokeFont& font)
{
    switch (graphic.kind) {
    case GuiGraphic::Kind::Button:
        return drawPlayerButton(graphic.symbol, graphic.pressed);
    case GuiGraphic::Kind::MenuItem:
        return drawMenuItem(font, graphic.icon, graphic.label, graphic.pressed);
    case GuiGraphic::Kind::MenuPanel:
        return drawMenuPanel();
    }
    return Canvas(0, 0);
}

} // namespace vlo::demo
