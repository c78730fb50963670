#include "gui/zoom_keys.h"

#include <fxkeys.h>

#include <initializer_list>

void addZoomKeys(FXAccelTable* keys, FXObject* target, FXSelector zoomIn)
{
    if (!keys)
        return;
    for (FXuint state : {FXuint(CONTROLMASK), FXuint(CONTROLMASK | SHIFTMASK)}) {
        for (FXuint key : {KEY_plus, KEY_equal, KEY_KP_Add})
            keys->addAccel(MKUINT(key, state), target, FXSEL(SEL_COMMAND, zoomIn));
        for (FXuint key : {KEY_minus, KEY_KP_Subtract})
            keys->addAccel(MKUINT(key, state), target, FXSEL(SEL_COMMAND, zoomIn + 1));
    }
    keys->addAccel(MKUINT(KEY_0, CONTROLMASK), target, FXSEL(SEL_COMMAND, zoomIn + 2));
    keys->addAccel(MKUINT(KEY_KP_0, CONTROLMASK), target, FXSEL(SEL_COMMAND, zoomIn + 2));
    keys->addAccel(MKUINT(KEY_1, CONTROLMASK), target, FXSEL(SEL_COMMAND, zoomIn + 3));
    keys->addAccel(MKUINT(KEY_KP_1, CONTROLMASK), target, FXSEL(SEL_COMMAND, zoomIn + 3));
}
