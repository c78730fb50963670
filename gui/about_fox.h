// The about box: the program's picture and an Ok button.
#pragma once

#include <fx.h>

class AboutFox : public FXDialogBox {
    FXDECLARE(AboutFox)
protected:
    AboutFox() {}
private:
    AboutFox(const AboutFox&);
    AboutFox& operator=(const AboutFox&);

    FXVerticalFrame* contents = nullptr;  // frame filling the box
    FXButton* okButton = nullptr;         // closes the box
    FXIcon* picture = nullptr;            // the about picture, owned

public:
    // Builds the box over its owner.
    explicit AboutFox(FXWindow* owner);
    // Deletes the picture with the box.
    virtual ~AboutFox();
};
