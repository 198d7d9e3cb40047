#pragma once

#include <QDialog>
#include <string>

#include "textedit/text_editor_state.h"

class PictureButton;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTextCharFormat;
class QTextEdit;

// The window in which the user writes one text section and sets the look of its box. Modeless
// and reused: the designer fills it for a section and shows it; every close converts the text
// to the page's HTML and to RTF, and "done" tells the owner through sectionDone().
class texteditor : public QDialog {
    Q_OBJECT

  public:
    // Dialogs it opens (colour, file, link target, messages) go through the prompts.
    texteditor(Prompts& prompts, QWidget* parent);

    void setItemId(const std::string& id) { state_.itemId = id; }
    // The faces list takes in the working folder's own fonts.
    void setWorkingFolder(const std::string& folder);
    // An existing section's RTF replaces the whole content.
    void loadForEdit(const std::string& rtf);
    // A translation's words, kept as the page shows them, replace the whole content.
    void loadHtmlForEdit(const std::string& html);
    // An empty editing area for a new section; the clipboard keeps its text.
    void clearForNew();
    void applyTextProperties(const std::string& properties);
    void showAlignment();
    TextEditorState& state() { return state_; }

    QTextEdit* editingArea() const { return editor_; }
    // The close sequence: hidden, the box values read, the text converted to HTML and RTF.
    void closeSection();

  signals:
    // The user pressed "done"; the edit mode tells a new section (1) from an existing one (2).
    void sectionDone(int editMode);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void buildWindow();
    // The faces that travel first, each in its own face, then the rest, marked.
    void fillFaces();
    // A font file the user chooses joins the faces that travel.
    void addFont();
    PictureButton* addTool(const QString& caption, const QString& tip);
    void mergeFormat(const QTextCharFormat& format);
    void toggleEffect(int effect);
    void chooseTextColour();
    void insertLink();
    void chooseBackgroundColour();
    void chooseBorderColour();
    void chooseBackgroundPicture();
    void chooseAlignment(TextEditorState::ShownAlignment alignment);
    void selectionChanged();
    void showBoxValues();
    void showBackground();
    void done();
    void cancel();

    Prompts& prompts_;
    TextEditorState state_;
    QTextEdit* editor_ = nullptr;
    QComboBox* faces_ = nullptr;
    QComboBox* sizes_ = nullptr;
    QComboBox* borderWidths_ = nullptr;
    PictureButton* bold_ = nullptr;
    PictureButton* italic_ = nullptr;
    PictureButton* underline_ = nullptr;
    QLabel* backgroundColour_ = nullptr;
    QLineEdit* backgroundImage_ = nullptr;
    QLabel* borderColour_ = nullptr;
    QRadioButton* left_ = nullptr;
    QRadioButton* right_ = nullptr;
    QRadioButton* centre_ = nullptr;
    QRadioButton* justify_ = nullptr;
    bool checkingSpelling_ = false;
};
