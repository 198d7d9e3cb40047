#pragma once

#include <functional>
#include <string>

#include "designer/designer_operations.h"

struct Workspace;
class Clipboard;
class EditorPageWriter;
class PictureDecoder;
class Prompts;
class TextEditorWindow;

// The operations behind the editor page's item and page-property commands: the add command,
// text sections (written in the text editor window) and pictures, background pictures and
// colours, and the page length. Each takes the layout the page handed over first, so that what
// the user dragged survives, and has an editor page writer show the result.
class ElementOperations : public DesignerOperations {
  public:
    // Draws the number of a new picture's name, 0 to 1000.
    using RandomNumber = std::function<int()>;

    ElementOperations(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard,
                      Prompts& prompts, PictureDecoder& decoder, TextEditorWindow& textEditor,
                      RandomNumber random = {});

    void addItem(const std::string& argument) override;
    void editText(const std::string& argument) override;
    void deleteText(const std::string& argument) override;
    void textDone(int editMode) override;
    void editPicture(const std::string& name) override;
    void deletePicture(const std::string& name) override;
    void backgroundPicture(const std::string& target) override;
    void backgroundColour(const std::string& target) override;
    void pageLength() override;

  private:
    void takeLayout();
    void addText(const std::string& left, const std::string& top);
    // An edited section takes the editor's results in place.
    void existingTextDone();
    // A new section joins the lists, unless the editor was cancelled.
    void newTextDone();
    void addPicture(const std::string& left, const std::string& top);
    // A picture name no picture of the page uses yet.
    std::string newPictureName();
    void redraw();

    Workspace& workspace_;
    EditorPageWriter& writer_;
    Clipboard& clipboard_;
    Prompts& prompts_;
    PictureDecoder& decoder_;
    TextEditorWindow& textEditor_;
    RandomNumber random_;
};

// The path with every picture extension (".JPG", ".Gif", ...) in lower case.
std::string WithLowerCaseExtensions(std::string path);
