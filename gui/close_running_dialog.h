// "The simulation is running. Stop it and close the window?" with Yes and
// No in the program's language, asked before Esc or the close box end a
// running simulation.
#pragma once

#include <fx.h>

class CloseRunningDialog : public FXDialogBox {
    FXDECLARE(CloseRunningDialog)
protected:
    CloseRunningDialog() {}
private:
    CloseRunningDialog(const CloseRunningDialog&);
    CloseRunningDialog& operator=(const CloseRunningDialog&);

public:
    explicit CloseRunningDialog(FXWindow* owner);

    // Runs the dialog modally: true for Yes; No, Esc and the close box keep
    // the window.
    bool ask();
};
