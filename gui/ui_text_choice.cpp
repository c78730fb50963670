// The language of this program, fixed when it is built: the Polish program
// is compiled with KELVO_UI_POLISH defined.
#include "gui/ui_text.h"

// The text of an entry in this build's language.
const char* uiText(int key)
{
#ifdef KELVO_UI_POLISH
    return uiTextPolish(key);
#else
    return uiTextEnglish(key);
#endif
}
