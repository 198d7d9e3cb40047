#pragma once

#include <string>

#include "textedit/text_editor_state.h"

// The one text editor window of the designer, as the designer drives it. The window is made
// the first time it is opened and reused afterwards; it tells the designer that the user
// finished a section through its owner (the "done" notification carries the edit mode).
class TextEditorWindow {
  public:
    virtual ~TextEditorWindow() = default;

    // A new, empty section: the editing area is emptied (the clipboard keeps its text), the
    // box settings stay as last used.
    virtual void openForNew(const std::string& itemId, const std::string& workingFolder) = 0;
    // An existing section: its RTF is loaded and its text-properties record applied.
    virtual void openForEdit(const std::string& itemId, const std::string& workingFolder,
                             const std::string& rtf, const std::string& properties) = 0;
    // A section's words in another language, as the page shows them (HTML).
    virtual void openForTranslation(const std::string& itemId, const std::string& workingFolder,
                                    const std::string& html, const std::string& properties) = 0;
    // The switches the designer sets before opening, and the results of the last close.
    virtual TextEditorState& state() = 0;
};
