#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "designer/designer_session.h"
#include "designer/editing/designer_operations.h"
#include "hosting/hosting_commands.h"
#include "store/db/sqlite_database.h"
#include "store/page_store_schema.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "textedit/text_editor_window.h"

// The operations that later parts of the designer provide, recorded as "name(argument)".
class RecordingOperations : public DesignerOperations {
  public:
    void addItem(const std::string& argument) override { record("addItem", argument); }
    void editText(const std::string& argument) override { record("editText", argument); }
    void deleteText(const std::string& argument) override { record("deleteText", argument); }
    void textDone(int editMode) override { record("textDone", std::to_string(editMode)); }
    void editPicture(const std::string& name) override { record("editPicture", name); }
    void deletePicture(const std::string& name) override { record("deletePicture", name); }
    void backgroundPicture(const std::string& target) override {
        record("backgroundPicture", target);
    }
    void backgroundColour(const std::string& target) override {
        record("backgroundColour", target);
    }
    void pageLength() override { record("pageLength", ""); }

    std::vector<std::string> calls;
    bool agreementAccepted = false;

    void record(const std::string& name, const std::string& argument) {
        calls.push_back(name + "(" + argument + ")");
    }
};

// The hosting commands, recorded among the operations' calls.
class RecordingHosting : public HostingCommands {
  public:
    explicit RecordingHosting(RecordingOperations& log) : log_(log) {}
    bool acceptHostingAgreement() override {
        log_.record("acceptHostingAgreement", "");
        return log_.agreementAccepted;
    }
    void siteOptions() override { log_.record("siteOptions", ""); }
    void uploadPage() override { log_.record("uploadPage", ""); }
    void deleteServerPages() override { log_.record("deleteServerPages", ""); }

  private:
    RecordingOperations& log_;
};

// The text editor window as the designer sees it: records how it was opened; a test sets the
// results of the close in its state.
class FakeTextEditor : public TextEditorWindow {
  public:
    void openForNew(const std::string& itemId, const std::string& workingFolder) override {
        opened.push_back("new " + itemId + " " + workingFolder);
    }
    void openForEdit(const std::string& itemId, const std::string& workingFolder,
                     const std::string& rtf, const std::string& properties) override {
        opened.push_back("edit " + itemId + " " + workingFolder + " " + rtf + " " + properties);
    }
    void openForTranslation(const std::string& itemId, const std::string& workingFolder,
                            const std::string& html, const std::string& properties) override {
        opened.push_back("translate " + itemId + " " + workingFolder + " " + html + " " +
                         properties);
    }
    TextEditorState& state() override { return editorState; }

    TextEditorState editorState;
    std::vector<std::string> opened;
};

// A working folder with its page store, default site folder and backgrounds, and a designer
// session over it with scripted ports.
class DesignerFixture : public ::testing::Test {
  protected:
    DesignerFixture() {
        std::filesystem::create_directories(working / "webpages");
        std::filesystem::create_directories(working / "backgrounds");
        std::filesystem::create_directories(working / "site");
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }

    Workspace& workspace() { return session.workspace(); }
    PageRecord& page() { return session.workspace().page; }
    std::string siteFolder() const { return working / "site"; }
    // Selects the folder, adding it to the list first when needed.
    void selectFolder(const std::string& folder) {
        ChoiceList& folders = workspace().folders;
        if (!folders.selectStartingWith(folder)) {
            folders.select(folders.add(folder));
        }
    }
    int rowCount(const std::string& table) { return db.runScalar("select count(*) from " + table); }
    // What the editor page does before each command: announces its layout, then puts it on the
    // clipboard, where the user's own text was.
    void handOver(const std::string& layout) {
        session.dispatcher().beforeNavigate("http://clipboardcache/");
        clipboard.content = layout;
    }

    TempFolder working;
    SqliteDatabase db;
    FakeClipboard clipboard;
    FakeBrowser browser;
    FakePrompts prompts;
    FakeShell shell;
    RecordingOperations operations;
    FakePictureDecoder pictures;
    FakeTextEditor textEditor;
    DesignerSession session{
        working.path(),
        db,
        {clipboard, browser, prompts, shell, pictures, textEditor},
        [this](DesignerSession&) { return std::make_unique<RecordingHosting>(operations); },
        &operations};
};
