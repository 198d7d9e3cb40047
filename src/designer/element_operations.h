#pragma once

#include <functional>
#include <string>

#include "designer/designer_operations.h"
#include "designer/interim_operations.h"

struct Workspace;
class Clipboard;
class EditorPageWriter;
class PictureDecoder;
class Prompts;

// The operations behind the editor page's item and page-property commands: adding, editing
// and deleting pictures, the add command, background pictures and colours, and the page
// length. Each takes the layout the page handed over first, so that what the user dragged
// survives, and has an editor page writer show the result. Text sections and the hosting
// commands are still served by InterimOperations.
class ElementOperations : public DesignerOperations {
  public:
    // Draws the number of a new picture's name, 0 to 1000.
    using RandomNumber = std::function<int()>;

    ElementOperations(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard,
                      Prompts& prompts, PictureDecoder& decoder, RandomNumber random = {});

    void addItem(const std::string& argument) override;
    void editText(const std::string& argument) override;
    void deleteText(const std::string& argument) override;
    void editPicture(const std::string& name) override;
    void deletePicture(const std::string& name) override;
    void backgroundPicture(const std::string& target) override;
    void backgroundColour(const std::string& target) override;
    void pageLength() override;
    bool acceptHostingAgreement() override;
    void siteOptions() override;
    void uploadPage() override;
    void deleteServerPages() override;

  private:
    void takeLayout();
    void addPicture(const std::string& left, const std::string& top);
    // A picture name no picture of the page uses yet.
    std::string newPictureName();
    void redraw();

    Workspace& workspace_;
    EditorPageWriter& writer_;
    Clipboard& clipboard_;
    Prompts& prompts_;
    PictureDecoder& decoder_;
    RandomNumber random_;
    InterimOperations interim_;
};

// The path with every picture extension (".JPG", ".Gif", ...) in lower case.
std::string WithLowerCaseExtensions(std::string path);
