#include "shell/qt_text_editor.h"

#include <QTextEdit>
#include <QWidget>
#include <utility>

QtTextEditor::QtTextEditor(QWidget* owner, Prompts& prompts, std::function<void(int)> done)
    : owner_(owner), prompts_(prompts), done_(std::move(done)) {}

bool QtTextEditor::make() {
    if (window_) {
        return false;
    }
    window_ = new texteditor(prompts_, owner_);
    window_->adjustSize();
    const QRect area = owner_->geometry();
    window_->move(area.x() + (area.width() - window_->width()) / 2,
                  area.y() + (area.height() - window_->height()) / 2);
    QObject::connect(window_, &texteditor::sectionDone, window_, [this](int mode) { done_(mode); });
    return true;
}

TextEditorState& QtTextEditor::state() {
    make();
    return window_->state();
}

void QtTextEditor::show() {
    window_->show();
    window_->raise();
    window_->activateWindow();
    window_->editingArea()->setFocus();
}

void QtTextEditor::openForNew(const std::string& itemId, const std::string& workingFolder) {
    if (!make()) {
        window_->clearForNew();
    }
    window_->setItemId(itemId);
    window_->setWorkingFolder(workingFolder);
    show();
}

void QtTextEditor::openForTranslation(const std::string& itemId, const std::string& workingFolder,
                                      const std::string& html, const std::string& properties) {
    openExisting(itemId, workingFolder, properties, [&] { window_->loadHtmlForEdit(html); });
}

void QtTextEditor::openForEdit(const std::string& itemId, const std::string& workingFolder,
                               const std::string& rtf, const std::string& properties) {
    openExisting(itemId, workingFolder, properties, [&] { window_->loadForEdit(rtf); });
}

void QtTextEditor::openExisting(const std::string& itemId, const std::string& workingFolder,
                                const std::string& properties,
                                const std::function<void()>& loadWords) {
    make();
    window_->setItemId(itemId);
    window_->setWorkingFolder(workingFolder);
    loadWords();
    window_->applyTextProperties(properties);
    show();
    window_->showAlignment();
}
