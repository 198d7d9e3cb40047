#include "transfer/cftpdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/picture_button.h"
#include "ui/stretched_background.h"

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

void ShowList(QListWidget* list, const std::vector<std::string>& entries,
              const std::vector<std::size_t>& selection, const std::optional<std::size_t>& caret) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const std::string& entry : entries) {
        list->addItem(FromStd(entry));
    }
    for (const std::size_t row : selection) {
        if (QListWidgetItem* item = list->item(static_cast<int>(row))) {
            item->setSelected(true);
        }
    }
    if (caret) {
        list->setCurrentRow(static_cast<int>(*caret), QItemSelectionModel::NoUpdate);
    }
}

std::vector<std::size_t> SelectedRows(const QListWidget* list) {
    std::vector<std::size_t> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) {
            rows.push_back(static_cast<std::size_t>(row));
        }
    }
    return rows;
}

std::optional<std::size_t> Caret(const QListWidget* list) {
    const int row = list->currentRow();
    return row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row));
}

}  // namespace

cftpdialog::cftpdialog(const std::string& workingFolder, const std::string& localFolder,
                       Prompts& prompts, QWidget* parent)
    : QDialog(parent), session_(workingFolder, localFolder, prompts, &vault_) {
    setWindowTitle(QStringLiteral("Quillora Uploader"));
    buildWindow();
    session_.fillLocalList();
    session_.loadLogin();
    auto* place = findChild<QLabel*>(QStringLiteral("passwordPlace"));
    place->setText(QString::fromStdString(session_.passwordPlace()));
    showPanes();
}

void cftpdialog::buildWindow() {
    QVBoxLayout* layout = WithWindowBackground(this);

    auto* serverPane = new QGroupBox(QStringLiteral("FTP server"), this);
    auto* serverGrid = new QGridLayout(serverPane);
    server_ = new QLineEdit(this);
    server_->setObjectName(QStringLiteral("server"));
    user_ = new QLineEdit(this);
    user_->setObjectName(QStringLiteral("user"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    remember_ = new QCheckBox(QStringLiteral("save login"), this);
    remember_->setObjectName(QStringLiteral("remember"));
    protocol_ = new QComboBox(this);
    protocol_->setObjectName(QStringLiteral("protocol"));
    // In the order of TransferProtocol.
    protocol_->addItems(
        {QStringLiteral("FTP"), QStringLiteral("FTP with TLS required"), QStringLiteral("SFTP")});
    protocol_->setToolTip(QStringLiteral(
        "FTP uses TLS when the server offers it; \"FTP with TLS required\" refuses a server "
        "that does not encrypt the login and the files; SFTP goes over SSH (the password, or "
        "your SSH key or agent)"));
    connect_ = new PictureButton(QStringLiteral("connect"),
                                 QStringLiteral("Connect to currently displayed ftp server"), this);
    connect_->setCheckable(true);
    PictureButton* newSession = new PictureButton(
        QStringLiteral("newsession"),
        QStringLiteral("Disconnect from current ftp server to start a new connection"), this);
    serverGrid->addWidget(new QLabel(QStringLiteral("server:"), this), 0, 0);
    serverGrid->addWidget(server_, 0, 1, 1, 3);
    serverGrid->addWidget(new QLabel(QStringLiteral("user name:"), this), 1, 0);
    serverGrid->addWidget(user_, 1, 1);
    serverGrid->addWidget(new QLabel(QStringLiteral("password:"), this), 1, 2);
    serverGrid->addWidget(password_, 1, 3);
    auto* boxes = new QHBoxLayout();
    boxes->addWidget(remember_);
    boxes->addWidget(protocol_);
    serverGrid->addLayout(boxes, 2, 1);
    serverGrid->addWidget(connect_, 2, 2);
    serverGrid->addWidget(newSession, 2, 3);
    // Where a remembered password goes, said before the user ticks the box.
    auto* place = new QLabel(this);
    place->setObjectName(QStringLiteral("passwordPlace"));
    place->setWordWrap(true);
    serverGrid->addWidget(place, 3, 0, 1, 4);
    serverFolder_ = new QLabel(this);
    serverFolder_->setObjectName(QStringLiteral("serverFolder"));
    serverGrid->addWidget(new QLabel(QStringLiteral("Web Folder:"), this), 4, 0);
    serverGrid->addWidget(serverFolder_, 4, 1, 1, 3);
    serverList_ = new QListWidget(this);
    serverList_->setObjectName(QStringLiteral("serverList"));
    serverList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    serverGrid->addWidget(serverList_, 5, 0, 1, 4);
    auto* serverButtons = new QHBoxLayout();
    PictureButton* download = new PictureButton(
        QStringLiteral("download"),
        QStringLiteral("Download (transfer) selected file(s) to the current local folder"), this);
    PictureButton* serverBack = new PictureButton(
        QStringLiteral("back"),
        QStringLiteral("Move back (up) to previously displayed server folder"), this);
    serverBack->setObjectName(QStringLiteral("serverBack"));
    PictureButton* remove = new PictureButton(
        QStringLiteral("delete"),
        QStringLiteral("Delete selected file(s) from current ftp server folder"), this);
    PictureButton* serverOpen =
        new PictureButton(QStringLiteral("openfolder"),
                          QStringLiteral("Open the selected ftp sever directory"), this);
    serverOpen->setObjectName(QStringLiteral("serverOpen"));
    PictureButton* makeFolder = new PictureButton(
        QStringLiteral("newfolder"), QStringLiteral("Create a new folder on the ftp sever"), this);
    for (PictureButton* button : {download, serverBack, remove, serverOpen, makeFolder}) {
        serverButtons->addWidget(button);
    }
    serverGrid->addLayout(serverButtons, 6, 0, 1, 4);
    layout->addWidget(serverPane, 1);

    auto* localPane = new QGroupBox(QStringLiteral("local folder"), this);
    auto* localGrid = new QGridLayout(localPane);
    localFolder_ = new QLineEdit(this);
    localFolder_->setObjectName(QStringLiteral("localFolder"));
    localFolder_->setReadOnly(true);
    PictureButton* browse =
        new PictureButton(QStringLiteral("browse"),
                          QStringLiteral("Change current folder on local computer disk"), this);
    localGrid->addWidget(localFolder_, 0, 0, 1, 3);
    localGrid->addWidget(browse, 0, 3);
    localList_ = new QListWidget(this);
    localList_->setObjectName(QStringLiteral("localList"));
    localList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    localGrid->addWidget(localList_, 1, 0, 1, 4);
    auto* localButtons = new QHBoxLayout();
    PictureButton* upload = new PictureButton(
        QStringLiteral("upload"),
        QStringLiteral("Upload (transfer) selected file(s) to the current ftp server folder"),
        this);
    PictureButton* localBack = new PictureButton(
        QStringLiteral("back"),
        QStringLiteral("Move back (up) to previously displayed local folder"), this);
    localBack->setObjectName(QStringLiteral("localBack"));
    PictureButton* localOpen = new PictureButton(
        QStringLiteral("openfolder"), QStringLiteral("Open the selected local disk folder"), this);
    localOpen->setObjectName(QStringLiteral("localOpen"));
    PictureButton* exit = new PictureButton(
        QStringLiteral("ftpexit"), QStringLiteral("Close the Quillora ftp uploader window"), this);
    for (PictureButton* button : {upload, localBack, localOpen, exit}) {
        localButtons->addWidget(button);
    }
    localGrid->addLayout(localButtons, 2, 0, 1, 4);
    layout->addWidget(localPane, 1);

    connect(connect_, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.connect(); }); });
    connect(newSession, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.disconnect(); }); });
    connect(download, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.downloadFiles(); }); });
    connect(serverBack, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.serverFolderUp(); }); });
    connect(remove, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.deleteServerItems(); }); });
    connect(serverOpen, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.openServerFolder(); }); });
    connect(serverList_, &QListWidget::itemDoubleClicked, this,
            [this] { run([this] { session_.openServerFolder(); }); });
    connect(makeFolder, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.makeServerFolder(); }); });
    connect(browse, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.browseLocalFolder(); }); });
    connect(upload, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.uploadFiles(); }); });
    connect(localBack, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.localFolderUp(); }); });
    connect(localOpen, &QAbstractButton::clicked, this,
            [this] { run([this] { session_.openLocalFolder(); }); });
    connect(localList_, &QListWidget::itemDoubleClicked, this,
            [this] { run([this] { session_.openLocalFolder(); }); });
    connect(exit, &QAbstractButton::clicked, this, &QDialog::reject);
    for (QWidget* field : {static_cast<QWidget*>(server_), static_cast<QWidget*>(user_),
                           static_cast<QWidget*>(password_), static_cast<QWidget*>(remember_),
                           static_cast<QWidget*>(protocol_), static_cast<QWidget*>(connect_)}) {
        field->installEventFilter(this);
    }
    resize(560, 640);
}

void cftpdialog::readPanes() {
    FtpPanes& panes = session_.panes();
    panes.server = server_->text().toStdString();
    panes.user = user_->text().toStdString();
    panes.password = password_->text().toStdString();
    panes.remember = remember_->isChecked();
    panes.protocol = static_cast<TransferProtocol>(protocol_->currentIndex());
    panes.serverSelection = SelectedRows(serverList_);
    panes.serverCaret = Caret(serverList_);
    panes.localSelection = SelectedRows(localList_);
    panes.localCaret = Caret(localList_);
}

void cftpdialog::showPanes() {
    const FtpPanes& panes = session_.panes();
    server_->setText(FromStd(panes.server));
    user_->setText(FromStd(panes.user));
    password_->setText(FromStd(panes.password));
    remember_->setChecked(panes.remember);
    protocol_->setCurrentIndex(static_cast<int>(panes.protocol));
    connect_->setChecked(panes.connected);
    serverFolder_->setText(FromStd(panes.serverFolder));
    ShowList(serverList_, panes.serverEntries, panes.serverSelection, panes.serverCaret);
    localFolder_->setText(FromStd(panes.localFolder));
    ShowList(localList_, panes.localEntries, panes.localSelection, panes.localCaret);
}

void cftpdialog::run(const std::function<void()>& operation) {
    readPanes();
    operation();
    showPanes();
}

bool cftpdialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter moves on to the next field; only on the connect button does it connect.
            if (watched == connect_) {
                connect_->click();
            } else {
                focusNextChild();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void cftpdialog::finish() {
    if (!finished_) {
        finished_ = true;
        readPanes();
        session_.close();
    }
}

void cftpdialog::reject() {
    finish();
    QDialog::reject();
}

void cftpdialog::closeEvent(QCloseEvent* event) {
    finish();
    event->accept();
}
