// Hands the toolkit its own texts in this program's language (see
// gui/toolkit_texts.h). The toolkit asks its translator while it builds a
// widget, so the translator is installed before any window is made.
#pragma once

#include <fx.h>
#include <FXTranslator.h>

class ToolkitTranslator : public FXTranslator {
public:
    explicit ToolkitTranslator(FXApp* app) : FXTranslator(app) {}
    const FXchar* tr(const FXchar* context, const FXchar* message, const FXchar* hint = nullptr) const override;
};

// Installs a ToolkitTranslator into app, which owns it from then on, and
// deletes the toolkit's own.
void installToolkitTranslator(FXApp* app);
