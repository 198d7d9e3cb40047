#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "designer/designer_session.h"
#include "hosting/hosting_addresses.h"
#include "shell/qt_ports.h"
#include "shell/qt_text_editor.h"
#include "store/db/sqlite_database.h"
#include "ui/keychain_vault.h"

class BrowserPage;
class PhonePreview;
class QAction;
class QComboBox;
class QTimer;
class QWebEngineProfile;
class QWebEngineView;

// What the main window asks the user and opens outside: the program passes its real dialogs
// and shell, tests script them.
struct MainViewPorts {
    Prompts& prompts;
    Shell& shell;
};

// The program's window: the site folder and page lists, the picture buttons and the embedded
// browser that shows the editor page. It holds the designer session and forwards every user
// action to it, then shows the lists and caption the session left.
class MainView : public QMainWindow {
    Q_OBJECT

  public:
    // The hosting client talks to the given addresses: the service's own unless a test hands in
    // a stand-in's.
    MainView(const std::string& workingFolder, const MainViewPorts& ports,
             const HostingAddresses& hosting = HostingAddresses::Service(),
             QWidget* parent = nullptr);
    ~MainView() override;

    DesignerSession& session() { return *session_; }
    // File > New Site, as the first run offers it once the quickstart page is shown.
    void offerNewSite();
    // The site file imported into the folder the user chooses, as File > Import Site does.
    void importSiteFile(const std::string& file);
    // The text editor window, once a section was opened in it.
    texteditor* textEditor() const { return textEditor_->window(); }
    QWebEngineView* browser() const { return view_; }
    // The phone preview window, once opened.
    PhonePreview* phonePreview() const { return phonePreview_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    void buildMenu();
    void openPageStore();
    // Runs a user action, then shows what it left in the lists and the caption.
    template <typename Action>
    void perform(Action&& action);
    void showWorkspace();
    // The language bar, shown for a site of several languages.
    void showLanguages();
    void folderChosen(int index);
    void pageChosen(int index);
    void runUploader();
    // Runs a command of the editor page (undo, redo) from the menu or the keyboard.
    void runEditorCommand(const QString& address);
    // Calls the editor page's script (the selection's commands, alignments).
    void runEditorScript(const QString& call);
    // Runs a command of the controls bar (save, save as) from the menu or the keyboard.
    void runControlsCommand(const QString& address);
    void showAbout();
    // Opens the phone preview, or shows it again; while open it follows every action that
    // changes the page.
    void showPhonePreview();
    void refreshPhonePreview(bool onlyWhenChanged);
    // The page as phones show it, to shape their column, or the desktop page again.
    void showPhoneView(bool on);
    // While the phone view is shown, a command of the editor page or the controls bar goes to
    // the program directly: the phone view hands over no layout.
    bool runInPhoneView(const QString& address);

    std::string workingFolder_;
    MainViewPorts ports_;
    SqliteDatabase db_;
    QtClipboard clipboard_;
    QtPictureDecoder pictures_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    BrowserPage* page_ = nullptr;
    std::unique_ptr<QtBrowser> browserPort_;
    std::unique_ptr<QtTextEditor> textEditor_;
    // Before the session, which keeps the hosting folder's password there.
    KeychainVault keyring_;
    std::unique_ptr<DesignerSession> session_;
    QComboBox* folders_ = nullptr;
    QComboBox* pages_ = nullptr;
    // The language bar: the site's languages by their own names, for a site of several.
    QComboBox* languages_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* phoneView_ = nullptr;
    // The editor page's own commands, which the phone view does not offer.
    std::vector<QAction*> desktopOnly_;
    QTimer* recoveryTimer_ = nullptr;
    // Commands under way: a dialog of one runs the event loop, and the timers with it.
    int performing_ = 0;
    PhonePreview* phonePreview_ = nullptr;
    static constexpr int kRecoveryDelayMs = 2000;
    bool ended_ = false;
};
