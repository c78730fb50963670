// A spinner of real numbers whose text always fits its field (see
// fittedDecimal), its tool tip showing every digit; the value itself is kept
// exactly, whatever the text shows, until the user types another.
#pragma once

#include <fx.h>

class DecimalSpinner : public FXRealSpinner {
    FXDECLARE(DecimalSpinner)
protected:
    DecimalSpinner() {}
private:
    DecimalSpinner(const DecimalSpinner&);
    DecimalSpinner& operator=(const DecimalSpinner&);

public:
    // A sunken spinner of the given width in pixels, showing at most
    // characters characters.
    DecimalSpinner(FXComposite* parent, FXint width, FXint characters);

    // Clamps into the range, then shows the value fitted into the field.
    virtual void setValue(FXdouble value, FXbool notify = FALSE);

    // Enter: the typed value, clamped, shown fitted.
    long onCmdEntry(FXObject*, FXSelector, void*);

private:
    void showFitted();

    FXint shownCharacters = 0;  // the most characters the field shows whole
};
