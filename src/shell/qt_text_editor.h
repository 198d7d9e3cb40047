#pragma once

#include <QPointer>
#include <functional>

#include "textedit/text_editor_window.h"
#include "textedit/texteditor.h"

class Prompts;
class QWidget;

// The designer's one text editor window, made the first time it is opened, centred over its
// owner, and kept for every later section.
class QtTextEditor : public TextEditorWindow {
  public:
    // done is called when the user presses "done", with the edit mode.
    QtTextEditor(QWidget* owner, Prompts& prompts, std::function<void(int)> done);

    void openForNew(const std::string& itemId, const std::string& workingFolder) override;
    void openForTranslation(const std::string& itemId, const std::string& workingFolder,
                            const std::string& html, const std::string& properties) override;
    void openForEdit(const std::string& itemId, const std::string& workingFolder,
                     const std::string& rtf, const std::string& properties) override;
    TextEditorState& state() override;

    // The window, once it exists.
    texteditor* window() const { return window_; }

  private:
    // Makes the window when it does not exist yet; true when it was made now.
    bool make();
    void show();
    // An existing section opened, its words loaded as given.
    void openExisting(const std::string& itemId, const std::string& workingFolder,
                      const std::string& properties, const std::function<void()>& loadWords);

    QWidget* owner_;
    Prompts& prompts_;
    std::function<void(int)> done_;
    QPointer<texteditor> window_;
};
