#include "shell/main_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "common/paths.h"
#include "common/service_addresses.h"
#include "designer/pages/recovery.h"
#include "designer/session_lifecycle.h"
#include "hosting/hosting_operations.h"
#include "page/site_languages.h"
#include "page/working_files.h"
#include "shell/browser_page.h"
#include "shell/phone_preview.h"
#include "store/db/sqlite_exception.h"
#include "transfer/cftpdialog.h"
#include "ui/picture_button.h"
#include "ui/stretched_background.h"

namespace {

void ShowEntries(QComboBox* box, const ChoiceList& list) {
    QStringList entries;
    for (const std::string& entry : list.entries()) {
        entries << QString::fromStdString(entry);
    }
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) {
        shown << box->itemText(i);
    }
    const QSignalBlocker blocker(box);
    if (shown != entries) {
        box->clear();
        box->addItems(entries);
    }
    box->setCurrentIndex(list.selectedIndex() ? static_cast<int>(*list.selectedIndex()) : -1);
}

// "Undo move" while there is a step to take, a greyed "Undo" when there is none.
void ShowStep(QAction* action, const QString& verb, bool possible, const std::string& label) {
    action->setEnabled(possible);
    action->setText(possible ? verb + QLatin1Char(' ') + QString::fromStdString(label) : verb);
}

}  // namespace

MainView::MainView(const std::string& workingFolder, const MainViewPorts& ports,
                   const HostingAddresses& hosting, QWidget* parent)
    : QMainWindow(parent), workingFolder_(workingFolder), ports_(ports) {
    setWindowTitle(QStringLiteral("quillora"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/pictures/quillora.png")));
    buildWindow();
    buildMenu();
    openPageStore();

    browserPort_ = std::make_unique<QtBrowser>(view_);
    textEditor_ = std::make_unique<QtTextEditor>(this, ports_.prompts, [this](int editMode) {
        perform([this, editMode] { session_->operations().textDone(editMode); });
    });
    session_ = std::make_unique<DesignerSession>(
        workingFolder_, db_,
        DesignerPorts{clipboard_, *browserPort_, ports_.prompts, ports_.shell, pictures_,
                      *textEditor_},
        [this, hosting](DesignerSession& session) {
            return std::make_unique<HostingOperations>(
                session, db_, HostingOperations::Ports{*browserPort_, ports_.prompts, ports_.shell},
                hosting);
        });
    session_->setPasswordVault(&keyring_);
    page_->setNavigationHandler([this](const std::string& address) {
        bool cancel = true;
        perform([&] { cancel = session_->dispatcher().beforeNavigate(address); });
        return cancel;
    });
    page_->setAllowedCheck(
        [this](const std::string& address) { return session_->dispatcher().allows(address); });
    connect(page_, &BrowserPage::navigationFailed, this,
            [this] { perform([this] { session_->catalog().resumeLastPage(); }); });
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(kRecoveryDelayMs);
    // Not in the middle of a command (its dialog open): the command restarts the timer when
    // it ends, and the design is kept whole.
    connect(recoveryTimer_, &QTimer::timeout, this, [this] {
        if (performing_ == 0) {
            session_->catalog().keepForRecovery();
        }
    });
    OfferRecovery(workingFolder_, session_->store(), ports_.prompts);
    perform([this] { StartSession(*session_, db_, *browserPort_); });
}

MainView::~MainView() = default;

void MainView::offerNewSite() {
    perform([this] { session_->archives().newSite(); });
}

void MainView::importSiteFile(const std::string& file) {
    perform([this, file] { session_->archives().importFile(file); });
}

void MainView::buildWindow() {
    auto* background =
        new StretchedBackground(QStringLiteral(":/resources/pictures/window_background.png"), this);
    setCentralWidget(background);
    auto* layout = new QVBoxLayout(background);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);

    auto* strip = new QHBoxLayout();
    auto* folderLabel = new QLabel(this);
    folderLabel->setPixmap(QPixmap(QStringLiteral(":/resources/pictures/folder_label.png")));
    folders_ = new QComboBox(this);
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setToolTip(
        QStringLiteral("Select active web site folder "
                       "(current page design will be saved to file in this location)"));
    auto* pageLabel = new QLabel(this);
    pageLabel->setPixmap(QPixmap(QStringLiteral(":/resources/pictures/page_label.png")));
    pages_ = new QComboBox(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->setToolTip(QStringLiteral("File name of the page currently being edited"));
    strip->addWidget(folderLabel);
    strip->addWidget(folders_, 5);
    strip->addSpacing(8);
    strip->addWidget(pageLabel);
    strip->addWidget(pages_, 2);
    strip->addSpacing(8);
    languages_ = new QComboBox(this);
    languages_->setObjectName(QStringLiteral("languages"));
    languages_->setToolTip(QStringLiteral(
        "The language the page is shown and written in; moving an item moves it in every "
        "language"));
    languages_->hide();
    strip->addWidget(languages_, 1);

    PictureButton* newPage = new PictureButton(
        QStringLiteral("newpage"), QStringLiteral("Start designing a new web page"), this);
    PictureButton* rename = new PictureButton(
        QStringLiteral("rename"), QStringLiteral("Change the file name of the current page"), this);
    PictureButton* title = new PictureButton(
        QStringLiteral("pagetitle"),
        QStringLiteral("Add or change the page's title (displayed in brower's application bar)"),
        this);
    PictureButton* ftp = new PictureButton(
        QStringLiteral("ftplaunch"), QStringLiteral("Open the Quillora FTP File Uploader"), this);
    PictureButton* help = new PictureButton(
        QStringLiteral("help"), QStringLiteral("View Quillora help documentation"), this);
    for (PictureButton* button : {newPage, rename, title, ftp, help}) {
        strip->addWidget(button);
    }
    phoneView_ = new QAction(QStringLiteral("&Phone"), this);
    phoneView_->setCheckable(true);
    phoneView_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    phoneView_->setToolTip(
        QStringLiteral("Show the page as phones show it, to order, hide and size its items there"));
    connect(phoneView_, &QAction::triggered, this, &MainView::showPhoneView);
    auto* phoneButton = new QToolButton(this);
    phoneButton->setObjectName(QStringLiteral("phoneViewButton"));
    phoneButton->setDefaultAction(phoneView_);
    strip->addWidget(phoneButton);
    layout->addLayout(strip);

    profile_ = new QWebEngineProfile(this);
    view_ = new QWebEngineView(background);
    page_ = new BrowserPage(profile_, clipboard_, view_);
    view_->setPage(page_);
    view_->setObjectName(QStringLiteral("browser"));
    layout->addWidget(view_, 1);

    connect(folders_, qOverload<int>(&QComboBox::activated), this, &MainView::folderChosen);
    connect(pages_, qOverload<int>(&QComboBox::activated), this, &MainView::pageChosen);
    connect(languages_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        const std::string tag = languages_->itemData(index).toString().toStdString();
        perform([this, tag] { session_->catalog().editIn(tag); });
    });
    connect(newPage, &QAbstractButton::clicked, this,
            [this] { perform([this] { session_->files().newPage(); }); });
    connect(rename, &QAbstractButton::clicked, this,
            [this] { perform([this] { session_->files().renamePage(); }); });
    connect(title, &QAbstractButton::clicked, this,
            [this] { perform([this] { session_->files().editPageTitle(); }); });
    connect(help, &QAbstractButton::clicked, this,
            [this] { perform([this] { session_->files().showHelp(); }); });
    connect(ftp, &QAbstractButton::clicked, this, &MainView::runUploader);
    resize(1032, 690);
}

void MainView::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    const auto add = [file](const QString& caption, const QKeySequence& keys) {
        QAction* action = file->addAction(caption);
        action->setShortcut(keys);
        return action;
    };
    connect(add(QStringLiteral("New Page"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this,
            [this] { perform([this] { session_->files().newPage(); }); });
    connect(file->addAction(QStringLiteral("New Site...")), &QAction::triggered, this,
            &MainView::offerNewSite);
    connect(add(QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S)), &QAction::triggered,
            this, [this] { runControlsCommand(QStringLiteral("http://savepage")); });
    connect(add(QStringLiteral("Save As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this,
            [this] { runControlsCommand(QStringLiteral("http://save_as_page")); });
    connect(file->addAction(QStringLiteral("History...")), &QAction::triggered, this,
            [this] { perform([this] { session_->history().showHistory(); }); });
    connect(file->addAction(QStringLiteral("Export Site...")), &QAction::triggered, this,
            [this] { perform([this] { session_->archives().exportSite(); }); });
    connect(file->addAction(QStringLiteral("Import Site...")), &QAction::triggered, this,
            [this] { perform([this] { session_->archives().importSite(); }); });
    connect(file->addAction(QStringLiteral("Publish...")), &QAction::triggered, this,
            [this] { perform([this] { session_->publishing().publish(); }); });
    connect(file->addAction(QStringLiteral("Publish Site")), &QAction::triggered, this,
            [this] { perform([this] { session_->pages().publishSite(); }); });
    connect(add(QStringLiteral("Help"), QKeySequence(Qt::Key_F1)), &QAction::triggered, this,
            [this] { perform([this] { session_->files().showHelp(); }); });
    connect(file->addAction(QStringLiteral("Quillora Online")), &QAction::triggered, this,
            [this] { ports_.shell.open(kMakerSite); });
    file->addSeparator();
    // No system menu on every desktop: the About entry lives in the File menu.
    connect(file->addAction(QStringLiteral("&About quillora...")), &QAction::triggered, this,
            &MainView::showAbout);
    file->addSeparator();
    connect(file->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    undo_ = edit->addAction(QStringLiteral("Undo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = edit->addAction(QStringLiteral("Redo"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undo_, &QAction::triggered, this,
            [this] { runEditorCommand(QStringLiteral("http://undo")); });
    connect(redo_, &QAction::triggered, this,
            [this] { runEditorCommand(QStringLiteral("http://redo")); });
    edit->addSeparator();
    // The editor page works on its selection; these reach it as its own keys do.
    const std::pair<const char*, const char*> itemCommands[] = {
        {"Duplicate", "duplicate"}, {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}};
    const QKeySequence itemKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence::Cut,
                                     QKeySequence::Copy, QKeySequence::Paste};
    for (std::size_t i = 0; i < std::size(itemCommands); ++i) {
        QAction* action = edit->addAction(QString::fromLatin1(itemCommands[i].first));
        action->setShortcut(itemKeys[i]);
        const QString kind = QString::fromLatin1(itemCommands[i].second);
        connect(action, &QAction::triggered, this,
                [this, kind] { runEditorScript(QStringLiteral("ddItemCommand('%1')").arg(kind)); });
        desktopOnly_.push_back(action);
    }
    QAction* section = edit->addAction(QStringLiteral("Save as Section..."));
    connect(section, &QAction::triggered, this,
            [this] { runEditorScript(QStringLiteral("ddItemCommand('section')")); });
    desktopOnly_.push_back(section);
    QAction* selectAll = edit->addAction(QStringLiteral("Select All"));
    selectAll->setShortcut(QKeySequence::SelectAll);
    connect(selectAll, &QAction::triggered, this,
            [this] { runEditorScript(QStringLiteral("ddSelectAll()")); });
    desktopOnly_.push_back(selectAll);
    edit->addSeparator();
    const std::pair<const char*, const char*> alignments[] = {
        {"Align Left", "left"},
        {"Align Centre", "centre"},
        {"Align Right", "right"},
        {"Align Top", "top"},
        {"Align Middle", "middle"},
        {"Align Bottom", "bottom"},
        {"Distribute Horizontally", "horizontal"},
        {"Distribute Vertically", "vertical"}};
    for (const auto& [caption, how] : alignments) {
        const QString call = QStringLiteral("ddAlign('%1')").arg(QString::fromLatin1(how));
        QAction* action = edit->addAction(QString::fromLatin1(caption));
        connect(action, &QAction::triggered, this, [this, call] { runEditorScript(call); });
        desktopOnly_.push_back(action);
    }

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(phoneView_);

    QMenu* pageMenu = menuBar()->addMenu(QStringLiteral("&Page"));
    connect(pageMenu->addAction(QStringLiteral("Pages...")), &QAction::triggered, this,
            [this] { perform([this] { session_->pages().managePages(); }); });
    connect(pageMenu->addAction(QStringLiteral("Page Options...")), &QAction::triggered, this,
            [this] { perform([this] { session_->pageSiteOptions().editPageOptions(); }); });
    connect(pageMenu->addAction(QStringLiteral("Site Options...")), &QAction::triggered, this,
            [this] { perform([this] { session_->pageSiteOptions().editSiteOptions(); }); });
    connect(pageMenu->addAction(QStringLiteral("Add Site Menu")), &QAction::triggered, this,
            [this] { perform([this] { session_->catalog().addSiteMenu(ports_.prompts); }); });
    connect(pageMenu->addAction(QStringLiteral("Check Site...")), &QAction::triggered, this,
            [this] { perform([this] { session_->catalog().checkSite(ports_.prompts); }); });
    connect(pageMenu->addAction(QStringLiteral("Phone Preview")), &QAction::triggered, this,
            &MainView::showPhonePreview);

    QMenu* siteMenu = menuBar()->addMenu(QStringLiteral("&Site"));
    connect(siteMenu->addAction(QStringLiteral("Languages...")), &QAction::triggered, this,
            [this] { perform([this] { session_->pageSiteOptions().editSiteLanguages(); }); });
    connect(
        siteMenu->addAction(QStringLiteral("Add Language Switcher")), &QAction::triggered, this,
        [this] { perform([this] { session_->catalog().addLanguageSwitcher(ports_.prompts); }); });
}

void MainView::showPhonePreview() {
    if (phonePreview_ == nullptr) {
        phonePreview_ = new PhonePreview(this);
    }
    refreshPhonePreview(false);
    phonePreview_->show();
    phonePreview_->raise();
}

void MainView::showPhoneView(bool on) {
    perform([this, on] {
        if (on) {
            session_->phoneView().switchOn();
        } else {
            session_->phoneView().switchOff();
        }
    });
}

bool MainView::runInPhoneView(const QString& address) {
    if (!session_->workspace().editor.phoneView) {
        return false;
    }
    perform([this, &address] { session_->dispatcher().beforeNavigate(address.toStdString()); });
    return true;
}

void MainView::refreshPhonePreview(bool onlyWhenChanged) {
    const std::string path = session_->pageSiteOptions().writePhonePreview(onlyWhenChanged);
    phonePreview_->showSwitch(session_->pageSiteOptions().phoneFriendlyHere());
    if (!path.empty()) {
        phonePreview_->showPage(QString::fromStdString(path));
    }
}

void MainView::openPageStore() {
    try {
        // The working folder's set-up has created the store's tables before the window opens.
        db_.open(JoinPath(workingFolder_, kPageStoreFile));
    } catch (const SqliteException& failure) {
        ports_.prompts.messageBox(failure.message(), "db error", MessageButtons::Ok,
                                  MessageIcon::None);
    }
}

template <typename Action>
void MainView::perform(Action&& action) {
    ++performing_;
    // The editor page fills the browser's width, less its margins and a scroll bar.
    constexpr int kPageMargins = 24;
    session_->workspace().editor.visibleWidth =
        std::max(0, static_cast<int>(view_->width() / view_->zoomFactor()) - kPageMargins);
    session_->steps().perform([&] { action(); });
    --performing_;
    showWorkspace();
    if (phonePreview_ != nullptr && phonePreview_->isVisible()) {
        refreshPhonePreview(true);
    }
    // The design is kept for recovery a little after the last change, not on every one.
    if (!session_->workspace().flags.noSaveOnExit) {
        recoveryTimer_->start();
    }
}

void MainView::showWorkspace() {
    const Workspace& workspace = session_->workspace();
    const PageHistory& history = workspace.history;
    if (session_->pages().canUndoDeletion()) {
        ShowStep(undo_, QStringLiteral("Undo"), true, "delete page");
    } else {
        ShowStep(undo_, QStringLiteral("Undo"), history.canUndo(), history.undoLabel());
    }
    ShowStep(redo_, QStringLiteral("Redo"), history.canRedo(), history.redoLabel());
    ShowEntries(folders_, workspace.folders);
    ShowEntries(pages_, workspace.pages);
    phoneView_->setChecked(workspace.editor.phoneView);
    showLanguages();
    for (QAction* action : desktopOnly_) {
        action->setEnabled(!workspace.editor.phoneView);
    }
    setWindowTitle(workspace.caption.empty() ? QStringLiteral("quillora")
                                             : QString::fromStdString(workspace.caption));
}

void MainView::showLanguages() {
    const std::vector<std::string> languages = session_->catalog().siteLanguages();
    const std::string& editing = session_->workspace().editor.editingLanguage;
    const QSignalBlocker quiet(languages_);
    languages_->clear();
    for (const std::string& tag : languages) {
        languages_->addItem(QString::fromStdString(OwnLanguageName(tag) + " (" + tag + ")"),
                            QString::fromStdString(tag));
        if (tag == editing || (editing.empty() && languages_->count() == 1)) {
            languages_->setCurrentIndex(languages_->count() - 1);
        }
    }
    languages_->setVisible(!languages.empty());
}

void MainView::folderChosen(int index) {
    perform([this, index] { session_->catalog().chooseFolder(static_cast<std::size_t>(index)); });
}

void MainView::pageChosen(int index) {
    perform([this, index] { session_->catalog().choosePage(static_cast<std::size_t>(index)); });
}

void MainView::runUploader() {
    // The uploader keeps its login in the page store: the window lets go of it meanwhile.
    db_.close();
    {
        cftpdialog uploader(workingFolder_, session_->workspace().page.directory, ports_.prompts,
                            this);
        uploader.exec();
    }
    openPageStore();
}

void MainView::runEditorCommand(const QString& address) {
    if (runInPhoneView(address)) {
        return;
    }
    // The editor page hands its layout over first, so that a drag since the last command is
    // the step undone first.
    page_->runJavaScript(QStringLiteral("(function(){var e=window.frames['editor'];"
                                        "if(e&&e.loadStylesData){e.loadStylesData();"
                                        "e.hostNavigate('%1');}})()")
                             .arg(address));
}

void MainView::runEditorScript(const QString& call) {
    // Nothing happens while no editor page is shown.
    page_->runJavaScript(
        QStringLiteral("(function(){var e=window.frames['editor'];if(e&&e.dd){e.%1;}})()")
            .arg(call));
}

void MainView::runControlsCommand(const QString& address) {
    if (runInPhoneView(address)) {
        return;
    }
    // As the controls bar's own button does it, so that the editor page hands its layout over
    // first; nothing happens while no editor page is shown.
    page_->runJavaScript(QStringLiteral("(function(){var c=window.frames['controls'];"
                                        "if(c&&c.runCommand){c.runCommand('%1');}})()")
                             .arg(address));
}

void MainView::showAbout() {
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About quillora"));
    box.setIconPixmap(QPixmap(QStringLiteral(":/resources/pictures/quillora.png")));
    box.setText(QStringLiteral("quillora Version 1.0"));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainView::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        ended_ = true;
        EndSession(*session_);
    }
    event->accept();
}
