// What in-window dialogs need of the main window controller: blocking and unblocking the window's
// own commands while a dialog is up.
#pragma once

namespace pimavo {

class InteractionBlocker {
public:
    virtual ~InteractionBlocker() = default;
    virtual void setDisabledInteractions(bool disabled) = 0;

    // The main window controller of the moment (none before the window exists).
    static InteractionBlocker* current();
    static void setCurrent(InteractionBlocker* blocker);
};

} // namespace pimavo
