// The Airfoil tool's section: the NACA four digits, and the chord and the
// angle of attack that a click places (a drag sets those two itself).
#pragma once

#include <fx.h>

#include <string>

struct AirfoilChoice {
    std::string digits = "2412";
    double chord = 0.4;   // domain units (the domain is 1 high)
    double angle = 0.0;   // degrees, nose up
};

// Whether choice gives a section: four digits nacaOutline takes, a chord
// above 0 and a finite angle.
bool airfoilChoiceValid(const AirfoilChoice& choice);

class AirfoilDialog : public FXDialogBox {
    FXDECLARE(AirfoilDialog)
protected:
    AirfoilDialog() {}
private:
    AirfoilDialog(const AirfoilDialog&);
    AirfoilDialog& operator=(const AirfoilDialog&);

    FXTextField* digitsField = nullptr;
    FXTextField* chordField = nullptr;
    FXTextField* angleField = nullptr;

public:
    // Opens showing choice.
    AirfoilDialog(FXWindow* owner, const AirfoilChoice& choice);

    // The fields as typed.
    AirfoilChoice choice() const;
    // As the user would type them.
    void setDigits(const char* digits) { digitsField->setText(digits); }
    void setChord(const char* chord) { chordField->setText(chord); }
    void setAngle(const char* angle) { angleField->setText(angle); }
};
