// "Save changes to the grid?" with Save, Discard and Cancel, asked before
// New, Load, Import, Quit and the close box throw an unsaved grid away.
#pragma once

#include <fx.h>

enum class SaveAnswer { Save = 1, Discard = 2, Cancel = 3 };

class SaveChangesDialog : public FXDialogBox {
    FXDECLARE(SaveChangesDialog)
protected:
    SaveChangesDialog() {}
private:
    SaveChangesDialog(const SaveChangesDialog&);
    SaveChangesDialog& operator=(const SaveChangesDialog&);

public:
    enum { ID_SAVE = FXDialogBox::ID_LAST, ID_DISCARD, ID_LAST };

    explicit SaveChangesDialog(FXWindow* owner);

    // Runs the dialog modally; closing it counts as Cancel.
    SaveAnswer ask();

    long onCmdAnswer(FXObject*, FXSelector, void*);
};
