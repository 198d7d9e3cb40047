#include "textedit/texteditor.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <optional>
#include <vector>

#include "common/html_colour.h"
#include "files/background_picture.h"
#include "files/font_match.h"
#include "platform/prompts.h"
#include "textedit/face_choices.h"
#include "textedit/rich_text_document.h"
#include "textedit/rtf_reader.h"
#include "textedit/spell_check.h"
#include "ui/picture_button.h"
#include "ui/stretched_background.h"

namespace {

enum Effect { kBold, kItalic, kUnderline };

// Lines wrap at 510 pixels, 10 pixels in from the area's edges.
constexpr int kWrapWidth = 510;
constexpr int kMargin = 10;

// The entries as the list rule reads them: the faces list by its families, not its labels.
std::vector<std::string> Entries(const QComboBox* box) {
    std::vector<std::string> entries;
    for (int i = 0; i < box->count(); ++i) {
        const QVariant family = box->itemData(i);
        entries.push_back((family.isValid() ? family.toString() : box->itemText(i)).toStdString());
    }
    return entries;
}

// The list selects the entry the list rule picks, and keeps its selection when none fits.
void SelectFromSecond(QComboBox* box, const std::string& start) {
    if (const std::optional<std::size_t> index = FindFromSecondEntry(Entries(box), start)) {
        box->setCurrentIndex(static_cast<int>(*index));
    }
}

bool HasEffect(const QTextCharFormat& format, int effect) {
    switch (effect) {
        case kBold:
            return format.fontWeight() >= QFont::Bold;
        case kItalic:
            return format.fontItalic();
        default:
            return format.fontUnderline();
    }
}

QTextCharFormat WithEffect(int effect, bool on) {
    QTextCharFormat format;
    switch (effect) {
        case kBold:
            format.setFontWeight(on ? QFont::Bold : QFont::Normal);
            break;
        case kItalic:
            format.setFontItalic(on);
            break;
        default:
            format.setFontUnderline(on);
    }
    return format;
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The editing area as the spell check walks it, in the document's own positions. The text is
// read once and kept in step with the replacements: cursors that move over the document for
// every word would lay it out again and again.
class EditingArea : public SpellTarget {
  public:
    explicit EditingArea(QTextEdit& edit) : edit_(edit), text_(edit.toPlainText()) {}

    std::size_t length() const override { return static_cast<std::size_t>(text_.size()); }
    char at(std::size_t position) const override {
        const QChar c = text_.at(static_cast<qsizetype>(position));
        if (c == QLatin1Char('\n')) {
            return '\r';
        }
        return c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01';
    }
    std::string text(std::size_t start, std::size_t end) const override {
        return text_.mid(static_cast<qsizetype>(start), static_cast<qsizetype>(end - start))
            .toStdString();
    }
    void select(std::size_t start, std::size_t end) override {
        QTextCursor cursor(edit_.document());
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        edit_.setTextCursor(cursor);
    }
    std::size_t replaceSelection(const std::string& utf8) override {
        const QString replacement = FromStd(utf8);
        QTextCursor cursor = edit_.textCursor();
        text_.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
                      replacement);
        cursor.insertText(replacement);
        edit_.setTextCursor(cursor);
        return static_cast<std::size_t>(replacement.size());
    }

  private:
    QTextEdit& edit_;
    QString text_;
};

}  // namespace

texteditor::texteditor(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("Quillora Text  Editor"));
    setModal(false);
    buildWindow();
    // Typing starts in Arial at 12 points.
    QTextCharFormat start;
    start.setFontFamilies({QStringLiteral("Arial")});
    start.setFontPointSize(12);
    editor_->setCurrentCharFormat(start);
    SelectFromSecond(faces_, "Arial");
    sizes_->setCurrentIndex(static_cast<int>(kStartSizeIndex));
    showBoxValues();
    showAlignment();
}

void texteditor::setWorkingFolder(const std::string& folder) {
    if (folder == state_.workingFolder) {
        return;
    }
    state_.workingFolder = folder;
    const QString shown = faces_->currentData().toString();
    fillFaces();
    SelectFromSecond(faces_, shown.toStdString());
}

void texteditor::fillFaces() {
    std::vector<std::string> installed;
    for (const QString& family : QFontDatabase::families()) {
        installed.push_back(family.toStdString());
    }
    faces_->clear();
    for (const FaceChoice& choice : FaceChoices(installed, state_.workingFolder)) {
        const QString family = QString::fromStdString(choice.family);
        faces_->addItem(QString::fromStdString(choice.label), family);
        if (choice.travels) {
            faces_->setItemData(faces_->count() - 1, QFont(family), Qt::FontRole);
        }
    }
}

void texteditor::addFont() {
    const std::optional<std::string> chosen =
        prompts_.openFileName({"Font files (*.ttf *.otf *.woff2 *.TTF *.OTF *.WOFF2)", ""});
    if (!chosen) {
        return;
    }
    const AddedFont added = AddOwnFont(state_.workingFolder, *chosen);
    if (!added.refusal.empty()) {
        prompts_.messageBox(added.refusal, "Quillora Text Editor", MessageButtons::Ok,
                            MessageIcon::Warning);
        return;
    }
    QFontDatabase::addApplicationFont(QString::fromStdString(added.path));
    fillFaces();
    SelectFromSecond(faces_, added.family);
    QTextCharFormat format;
    format.setFontFamilies({QString::fromStdString(added.family)});
    mergeFormat(format);
}

PictureButton* texteditor::addTool(const QString& caption, const QString& tip) {
    auto* button = new PictureButton(caption, tip, this);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void texteditor::buildWindow() {
    QVBoxLayout* layout = WithWindowBackground(this);

    auto* tools = new QHBoxLayout();
    faces_ = new QComboBox(this);
    faces_->setObjectName(QStringLiteral("faces"));
    faces_->setToolTip(QStringLiteral("Change font style for selected text"));
    fillFaces();
    sizes_ = new QComboBox(this);
    sizes_->setObjectName(QStringLiteral("sizes"));
    sizes_->setToolTip(QStringLiteral("Change font size for selected text"));
    for (const int size : FontSizes()) {
        sizes_->addItem(QString::number(size));
    }
    bold_ = addTool(QStringLiteral("boldbutton"),
                    QStringLiteral("Toggle BOLD on/off for selected text"));
    italic_ = addTool(QStringLiteral("italicbutton"),
                      QStringLiteral("Toggle ITALIC on/off for selected text"));
    underline_ = addTool(QStringLiteral("underlinebutton"),
                         QStringLiteral("Toggle UNDERLINED on/off for selected text"));
    for (PictureButton* effect : {bold_, italic_, underline_}) {
        effect->setCheckable(true);
    }
    PictureButton* colour = addTool(QStringLiteral("colorbutton"),
                                    QStringLiteral("Change font color of selected text"));
    PictureButton* cut = addTool(QStringLiteral("cutbutton"),
                                 QStringLiteral("Cut selected text and add to clipboard"));
    PictureButton* copy =
        addTool(QStringLiteral("copybutton"), QStringLiteral("Copy selected text to clipboard"));
    PictureButton* paste = addTool(QStringLiteral("pastebutton"),
                                   QStringLiteral("Paste clipboard contents to cursor location"));
    PictureButton* link =
        addTool(QStringLiteral("link"),
                QStringLiteral("Insert html link (HREF) to external file or resource"));
    PictureButton* spell =
        addTool(QStringLiteral("spell"),
                QStringLiteral("Check spelling for the contents of this text area"));
    PictureButton* addFont =
        addTool(QStringLiteral("addfont"),
                QStringLiteral("Add a font file (TTF, OTF or WOFF2) to the faces that travel "
                               "with your sites"));
    tools->addWidget(faces_, 3);
    tools->addWidget(sizes_, 1);
    for (PictureButton* button :
         {bold_, italic_, underline_, colour, cut, copy, paste, link, spell, addFont}) {
        tools->addWidget(button);
    }
    layout->addLayout(tools);

    editor_ = new QTextEdit(this);
    editor_->setObjectName(QStringLiteral("editingArea"));
    editor_->setAcceptRichText(false);
    editor_->setLineWrapMode(QTextEdit::FixedPixelWidth);
    editor_->setLineWrapColumnOrWidth(kWrapWidth);
    editor_->document()->setDocumentMargin(kMargin);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setTabChangesFocus(true);
    editor_->setMinimumSize(kWrapWidth + 2 * kMargin + 24, 300);
    editor_->installEventFilter(this);
    layout->addWidget(editor_, 1);

    auto* boxes = new QHBoxLayout();
    auto* backgroundGroup = new QGroupBox(QStringLiteral("background properties"), this);
    auto* backgroundGrid = new QGridLayout(backgroundGroup);
    backgroundColour_ = new QLabel(this);
    backgroundColour_->setObjectName(QStringLiteral("backgroundColour"));
    PictureButton* backgroundPalette = addTool(
        QStringLiteral("pallette"), QStringLiteral("Chang the background color of this text area"));
    backgroundImage_ = new QLineEdit(this);
    backgroundImage_->setObjectName(QStringLiteral("backgroundImage"));
    PictureButton* browse =
        addTool(QStringLiteral("browse"),
                QStringLiteral("Select a graphic file to set as a background image"));
    backgroundGrid->addWidget(new QLabel(QStringLiteral("html color:"), this), 0, 0);
    backgroundGrid->addWidget(backgroundColour_, 0, 1);
    backgroundGrid->addWidget(backgroundPalette, 0, 2);
    backgroundGrid->addWidget(new QLabel(QStringLiteral("background image:"), this), 1, 0);
    backgroundGrid->addWidget(backgroundImage_, 1, 1);
    backgroundGrid->addWidget(browse, 1, 2);
    auto* borderGroup = new QGroupBox(QStringLiteral("border properties"), this);
    auto* borderGrid = new QGridLayout(borderGroup);
    borderWidths_ = new QComboBox(this);
    borderWidths_->setObjectName(QStringLiteral("borderWidths"));
    borderWidths_->setEditable(true);
    borderWidths_->setToolTip(QStringLiteral("Change the width of the text area's border"));
    for (const std::string& width : BorderWidths()) {
        borderWidths_->addItem(FromStd(width));
    }
    borderColour_ = new QLabel(this);
    borderColour_->setObjectName(QStringLiteral("borderColour"));
    PictureButton* borderPalette = addTool(
        QStringLiteral("pallette"), QStringLiteral("Change the border color of this text area"));
    borderGrid->addWidget(new QLabel(QStringLiteral("width:"), this), 0, 0);
    borderGrid->addWidget(borderWidths_, 0, 1);
    borderGrid->addWidget(new QLabel(QStringLiteral("html color:"), this), 1, 0);
    borderGrid->addWidget(borderColour_, 1, 1);
    borderGrid->addWidget(borderPalette, 1, 2);
    auto* alignGroup = new QGroupBox(QStringLiteral("text align"), this);
    auto* alignColumn = new QVBoxLayout(alignGroup);
    left_ = new QRadioButton(QStringLiteral("left"), this);
    right_ = new QRadioButton(QStringLiteral("right"), this);
    centre_ = new QRadioButton(QStringLiteral("center"), this);
    justify_ = new QRadioButton(QStringLiteral("justify"), this);
    for (QRadioButton* radio : {left_, right_, centre_, justify_}) {
        radio->setObjectName(radio->text());
        alignColumn->addWidget(radio);
    }
    boxes->addWidget(backgroundGroup, 2);
    boxes->addWidget(borderGroup, 2);
    boxes->addWidget(alignGroup, 1);
    layout->addLayout(boxes);

    auto* ending = new QHBoxLayout();
    PictureButton* doneButton =
        addTool(QStringLiteral("done"), QStringLiteral("Save changes and exit this text editor"));
    PictureButton* cancelButton = addTool(
        QStringLiteral("dialog_cancel"), QStringLiteral("Exit text editor without saving changes"));
    ending->addStretch();
    ending->addWidget(doneButton);
    ending->addWidget(cancelButton);
    ending->addStretch();
    layout->addLayout(ending);

    connect(faces_, qOverload<int>(&QComboBox::activated), this, [this] {
        QTextCharFormat format;
        format.setFontFamilies({faces_->currentData().toString()});
        mergeFormat(format);
    });
    connect(addFont, &QAbstractButton::clicked, this, &texteditor::addFont);
    connect(sizes_, qOverload<int>(&QComboBox::activated), this, [this] {
        QTextCharFormat format;
        format.setFontPointSize(sizes_->currentText().toInt());
        mergeFormat(format);
    });
    connect(bold_, &QAbstractButton::clicked, this, [this] { toggleEffect(kBold); });
    connect(italic_, &QAbstractButton::clicked, this, [this] { toggleEffect(kItalic); });
    connect(underline_, &QAbstractButton::clicked, this, [this] { toggleEffect(kUnderline); });
    connect(colour, &QAbstractButton::clicked, this, &texteditor::chooseTextColour);
    connect(cut, &QAbstractButton::clicked, editor_, &QTextEdit::cut);
    connect(copy, &QAbstractButton::clicked, editor_, &QTextEdit::copy);
    connect(paste, &QAbstractButton::clicked, editor_, &QTextEdit::paste);
    connect(link, &QAbstractButton::clicked, this, &texteditor::insertLink);
    connect(spell, &QAbstractButton::clicked, this, [this] {
        EditingArea area(*editor_);
        // The lists follow the selection once the run is over, not for every word it shows.
        checkingSpelling_ = true;
        RunSpellCheck(area, state_.workingFolder, prompts_, state_.spellLanguage);
        checkingSpelling_ = false;
        selectionChanged();
    });
    connect(backgroundPalette, &QAbstractButton::clicked, this,
            &texteditor::chooseBackgroundColour);
    connect(borderPalette, &QAbstractButton::clicked, this, &texteditor::chooseBorderColour);
    connect(browse, &QAbstractButton::clicked, this, &texteditor::chooseBackgroundPicture);
    connect(left_, &QRadioButton::clicked, this,
            [this] { chooseAlignment(TextEditorState::ShownAlignment::Left); });
    connect(right_, &QRadioButton::clicked, this,
            [this] { chooseAlignment(TextEditorState::ShownAlignment::Right); });
    connect(centre_, &QRadioButton::clicked, this,
            [this] { chooseAlignment(TextEditorState::ShownAlignment::Centre); });
    connect(justify_, &QRadioButton::clicked, this,
            [this] { chooseAlignment(TextEditorState::ShownAlignment::Justify); });
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &texteditor::selectionChanged);
    connect(editor_, &QTextEdit::selectionChanged, this, &texteditor::selectionChanged);
    connect(doneButton, &QAbstractButton::clicked, this, &texteditor::done);
    connect(cancelButton, &QAbstractButton::clicked, this, &texteditor::cancel);
}

void texteditor::loadForEdit(const std::string& rtf) {
    state_.editMode = TextEditorState::kExistingSection;
    state_.rtfText = rtf;
    ShowRichText(ReadRtf(rtf), *editor_->document());
    editor_->moveCursor(QTextCursor::Start);
}

void texteditor::loadHtmlForEdit(const std::string& html) {
    state_.editMode = TextEditorState::kExistingSection;
    editor_->setHtml(QString::fromStdString(html));
    state_.rtfText.clear();
    editor_->moveCursor(QTextCursor::Start);
}

void texteditor::clearForNew() {
    state_.editMode = TextEditorState::kNewSection;
    // Emptied without the clipboard: what the user had copied stays there.
    const QTextCharFormat format = editor_->currentCharFormat();
    editor_->clear();
    editor_->setCurrentCharFormat(format);
}

void texteditor::applyTextProperties(const std::string& properties) {
    state_.applyTextProperties(properties);
    showBoxValues();
}

void texteditor::showBoxValues() {
    backgroundColour_->setText(FromStd(state_.backgroundColor));
    backgroundImage_->setText(FromStd(state_.backgroundImage));
    borderColour_->setText(FromStd(state_.borderColor));
    SelectFromSecond(borderWidths_, state_.borderWidth);
    showBackground();
}

void texteditor::showBackground() {
    const BackgroundRgb rgb = BackgroundColourOf(state_.backgroundColor);
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Base, QColor(rgb.red, rgb.green, rgb.blue));
    editor_->setPalette(palette);
}

void texteditor::showAlignment() {
    const TextEditorState::ShownAlignment shown = state_.shownAlignment();
    justify_->setChecked(shown == TextEditorState::ShownAlignment::Justify);
    centre_->setChecked(shown == TextEditorState::ShownAlignment::Centre);
    right_->setChecked(shown == TextEditorState::ShownAlignment::Right);
    left_->setChecked(shown == TextEditorState::ShownAlignment::Left);
}

void texteditor::mergeFormat(const QTextCharFormat& format) {
    editor_->mergeCurrentCharFormat(format);
    editor_->setFocus();
}

void texteditor::toggleEffect(int effect) {
    QTextCursor cursor = editor_->textCursor();
    bool throughout = HasEffect(editor_->currentCharFormat(), effect);
    bool nowhere = !throughout;
    if (cursor.hasSelection()) {
        throughout = true;
        nowhere = true;
        QTextCursor walker(editor_->document());
        for (int at = cursor.selectionStart(); at < cursor.selectionEnd(); ++at) {
            walker.setPosition(at + 1);
            const bool has = HasEffect(walker.charFormat(), effect);
            throughout = throughout && has;
            nowhere = nowhere && !has;
        }
    }
    mergeFormat(WithEffect(effect, EffectAfterToggle(throughout, nowhere)));
    selectionChanged();
}

void texteditor::chooseTextColour() {
    const std::optional<Rgb> chosen = prompts_.colour();
    // The selection keeps a definite colour either way: the chosen one or its own.
    const QColor colour = chosen ? QColor(chosen->red, chosen->green, chosen->blue)
                                 : editor_->currentCharFormat().foreground().color();
    QTextCharFormat format;
    format.setForeground(colour);
    mergeFormat(format);
}

void texteditor::insertLink() {
    QTextCursor cursor = editor_->textCursor();
    if (!cursor.hasSelection()) {
        prompts_.messageBox(
            "Before adding a link target, select a \nword or phrase to use as the \"anchor\"",
            "No selection prompt:", MessageButtons::Ok, MessageIcon::None);
        return;
    }
    const std::optional<std::string> target = prompts_.linkTarget();
    if (!target) {
        return;
    }
    // The markup is typed into the text as characters; the page takes it as it stands.
    const QString markup = QStringLiteral("<A HREF='") + FromStd(*target) + QStringLiteral("'>") +
                           cursor.selectedText() + QStringLiteral("</A>");
    QApplication::clipboard()->setText(markup);
    editor_->paste();
}

void texteditor::chooseBackgroundColour() {
    const std::optional<Rgb> chosen = prompts_.colour();
    // Cancelling the chooser is how a box loses its background colour.
    state_.backgroundColor =
        chosen ? HtmlColour(chosen->red, chosen->green, chosen->blue) : std::string();
    backgroundColour_->setText(FromStd(state_.backgroundColor));
    if (chosen) {
        showBackground();
    }
}

void texteditor::chooseBorderColour() {
    const std::optional<Rgb> chosen = prompts_.colour();
    state_.borderColor =
        chosen ? HtmlColour(chosen->red, chosen->green, chosen->blue) : std::string();
    borderColour_->setText(FromStd(state_.borderColor));
}

void texteditor::chooseBackgroundPicture() {
    if (const std::optional<std::string> chosen =
            ChooseBackgroundPicture(prompts_, state_.workingFolder, state_.firstBrowse)) {
        state_.backgroundImage = "backgrounds/" + *chosen;
        backgroundImage_->setText(FromStd(state_.backgroundImage));
    }
}

void texteditor::chooseAlignment(TextEditorState::ShownAlignment alignment) {
    state_.chooseAlignment(alignment);
    // The editing area shows justified text left aligned, as the page's own box will not.
    Qt::Alignment shown = Qt::AlignLeft;
    if (alignment == TextEditorState::ShownAlignment::Right) {
        shown = Qt::AlignRight;
    } else if (alignment == TextEditorState::ShownAlignment::Centre) {
        shown = Qt::AlignHCenter;
    }
    editor_->selectAll();
    editor_->setAlignment(shown);
}

void texteditor::selectionChanged() {
    if (checkingSpelling_) {
        return;
    }
    const QTextCharFormat format = editor_->currentCharFormat();
    const CharFormat current = ToCharFormat(format);
    SelectFromSecond(faces_, current.face);
    if (const std::optional<std::size_t> size = SizeIndexOf(current.size)) {
        sizes_->setCurrentIndex(static_cast<int>(*size));
    }
    bold_->setChecked(current.bold);
    italic_->setChecked(current.italic);
    underline_->setChecked(current.underline);
}

void texteditor::closeSection() {
    hide();
    state_.borderWidth = borderWidths_->currentText().toStdString();
    state_.borderColor = borderColour_->text().toStdString();
    state_.backgroundColor = backgroundColour_->text().toStdString();
    state_.backgroundImage = backgroundImage_->text().toStdString();
    RichText text = ToRichText(*editor_->document(), editor_->textCursor());
    FinishSection(text, state_);
}

void texteditor::done() {
    closeSection();
    emit sectionDone(state_.editMode);
}

void texteditor::cancel() {
    state_.cancelled = true;
    closeSection();
}

void texteditor::reject() {
    // Escape: the close sequence without telling the owner.
    closeSection();
}

void texteditor::closeEvent(QCloseEvent* event) {
    closeSection();
    event->accept();
}

void texteditor::keyPressEvent(QKeyEvent* event) {
    // Enter outside the editing area does nothing: the window stays open.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool texteditor::focusNextPrevChild(bool) {
    // Tab neither moves the focus nor types a tab.
    return true;
}

bool texteditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier) {
            switch (key->key()) {
                case Qt::Key_B:
                    toggleEffect(kBold);
                    return true;
                case Qt::Key_I:
                    toggleEffect(kItalic);
                    return true;
                case Qt::Key_U:
                    toggleEffect(kUnderline);
                    return true;
                case Qt::Key_Y:
                    editor_->redo();
                    return true;
                default:
                    break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
