// The toolkit's own texts (the file dialog's labels, buttons, tooltips and
// menus, the message boxes' buttons) in this program's language. The
// toolkit asks for each by its English text; a text without a translation
// is shown as the toolkit has it.
#pragma once

// One text of the toolkit and its translation.
struct ToolkitText {
    const char* english;
    const char* translated;
};

// The translation of the toolkit's text in this build's language, or
// nullptr when it has none (always, in the English build).
const char* toolkitText(const char* english);

// The Polish translation, or nullptr.
const char* toolkitTextPolish(const char* english);
