#pragma once

namespace vlo {

class MainWindow;

// Builds and owns the show's one screen (widget tree, handlers, pictures).
class ShowScreen {
public:
    explicit ShowScreen(MainWindow* window);
    ~ShowScreen();
    ShowScreen(const ShowScreen&) = delete;
    ShowScreen& operator=(const ShowScreen&) = delete;

    // (fields and construction steps are declared here by the frontend subsystem)
};

} // namespace vlo
