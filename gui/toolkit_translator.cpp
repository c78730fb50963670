#include "gui/toolkit_translator.h"

#include "gui/toolkit_texts.h"

const FXchar* ToolkitTranslator::tr(const FXchar*, const FXchar* message, const FXchar*) const
{
    const char* translated = toolkitText(message);
    return translated ? translated : message;
}

void installToolkitTranslator(FXApp* app)
{
    app->setTranslator(new ToolkitTranslator(app));
}
