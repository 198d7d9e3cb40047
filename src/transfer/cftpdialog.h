#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "transfer/ftp_session.h"
#include "ui/keychain_vault.h"

class PictureButton;
class Prompts;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The FTP uploader: the server pane above (login, current folder, its entries) and one local
// folder below; buttons copy the selected entries from one pane to the other, open folders, go
// up, make server folders and delete server entries. The session does the work.
class cftpdialog : public QDialog {
    Q_OBJECT

  public:
    cftpdialog(const std::string& workingFolder, const std::string& localFolder, Prompts& prompts,
               QWidget* parent);

    FtpSession& session() { return session_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void buildWindow();
    // Runs a session operation on what the window shows, then shows what it left.
    void run(const std::function<void()>& operation);
    void readPanes();
    void showPanes();
    void finish();

    KeychainVault vault_;
    FtpSession session_;
    QLineEdit* server_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QComboBox* protocol_ = nullptr;
    PictureButton* connect_ = nullptr;
    QLabel* serverFolder_ = nullptr;
    QListWidget* serverList_ = nullptr;
    QLineEdit* localFolder_ = nullptr;
    QListWidget* localList_ = nullptr;
    bool finished_ = false;
};
