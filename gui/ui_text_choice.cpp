// The language of this program, fixed when it is built: the Polish program
// is compiled with KELVO_UI_POLISH defined.
#include "gui/toolkit_texts.h"
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

// The toolkit's text in this build's language; none in English.
const char* toolkitText(const char* english)
{
#ifdef KELVO_UI_POLISH
    return toolkitTextPolish(english);
#else
    (void)english;
    return nullptr;
#endif
}
