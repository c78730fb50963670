#include "gui/toolkit_translator.h"

#include "gui/toolkit_texts.h"

const FXchar* ToolkitTranslator::tr(const FXchar*, const FXchar* message, const FXchar*) const
{
    const char* translated = toolkitText(message);
    return translated ? translated : message;
}

// The application deletes the translator it holds at the end, but not the
// one it is given in place of its own first one.
void installToolkitTranslator(FXApp* app)
{
    FXTranslator* replaced = app->getTranslator();
    app->setTranslator(new ToolkitTranslator(app));
    delete replaced;
}
