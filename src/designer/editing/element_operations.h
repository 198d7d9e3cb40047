#pragma once

#include <functional>
#include <optional>
#include <string>

#include "designer/editing/designer_operations.h"
#include "platform/picture_decoder.h"

struct PageRecord;
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
    // A picture name no picture of the page uses yet.
    std::string newPictureName();

  private:
    void takeLayout();
    void addText(const std::string& left, const std::string& top);
    // An edited section takes the editor's results in place.
    void existingTextDone();
    // A new section joins the lists, unless the editor was cancelled.
    void newTextDone();
    void addPicture(const std::string& left, const std::string& top);
    void redraw();

    Workspace& workspace_;
    EditorPageWriter& writer_;
    Clipboard& clipboard_;
    Prompts& prompts_;
    PictureDecoder& decoder_;
    TextEditorWindow& textEditor_;
    RandomNumber random_;
};

// Numbers 0 to 1000 drawn from a generator seeded by the clock.
ElementOperations::RandomNumber ClockSeededNumbers();
// A picture name no picture of the page uses yet, its number drawn (the first free one after
// 64 draws, so that a full page cannot make the draw loop).
std::string FreePictureName(const PageRecord& page, const std::function<int()>& draw);

// Where and how large a new picture lands: at its own size, or, when it is wider than the room
// (the page's container, or on a full-screen page the width the user sees; 0 when unknown),
// the room's width at its own shape; moved left as far as it must to stay inside the room.
struct PictureLanding {
    int left = 0;
    PictureSize size;
};
PictureLanding LandPicture(const PictureSize& natural, const PageRecord& page, int left,
                           int visibleWidth);

// Takes a text section out of the page (its entry marked removed), or a picture (its entries
// gone); false when the page has no such item.
bool RemoveText(PageRecord& page, const std::string& id);
bool RemovePicture(PageRecord& page, const std::string& name);

// Where an item the add menu adds stands: the corner the menu reports, less the menu's own
// offset; what is no number stays as it is.
std::string MenuCorner(const std::string& reported);
