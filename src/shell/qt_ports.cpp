#include "shell/qt_ports.h"

#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <memory>

#include "hosting/agreement.h"
#include "hosting/filedelete.h"
#include "hosting/siteaction.h"
#include "hosting/sitename.h"
#include "hosting/upload_notice.h"
#include "items/clickoptions.h"
#include "items/deletedpages.h"
#include "items/imageedit.h"
#include "items/linkselector.h"
#include "items/newpage.h"
#include "items/newsite.h"
#include "items/pagehistory.h"
#include "items/pagelength.h"
#include "items/pagelist.h"
#include "items/pageoptions.h"
#include "items/pagetitle.h"
#include "items/publishsite.h"
#include "items/sectionlibrary.h"
#include "items/sectionname.h"
#include "items/sitecheck.h"
#include "items/sitelanguages.h"
#include "items/sitemenu.h"
#include "items/siteoptions.h"
#include "shell/browser_page.h"
#include "shell/section_reach.h"
#include "textedit/spelldialog.h"
#include "transfer/newfolder.h"

namespace {

// Runs in the designer frame set: what the editor page's loadStylesData would report, taken
// without touching the clipboard or sending a command.
constexpr const char* kLayoutScript = R"JS(
(function () {
    var editor = window.frames['editor'];
    if (!editor || typeof editor.loadStylesData !== 'function') {
        return null;
    }
    var board = editor.clipboardData;
    var setData = board.setData;
    var navigate = editor.hostNavigate;
    var layout = null;
    board.setData = function (format, text) { layout = String(text); return true; };
    editor.hostNavigate = function () {};
    try {
        editor.loadStylesData();
    } finally {
        board.setData = setData;
        editor.hostNavigate = navigate;
    }
    return layout;
})()
)JS";

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// "Image files (*.jpg;*.gif)|*.jpg;*.gif||" as Qt reads filters: "Image files (*.jpg *.gif)".
// Qt takes the patterns from the parentheses and separates them by spaces, so the description
// is rebuilt around the pattern part. Some desktops' own dialogs match case, so each pattern
// comes in upper case too and IMG_0001.JPG is listed everywhere.
QString QtFilter(const std::string& filter) {
    const QStringList parts = FromStd(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        const QString description = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString& pattern : QStringList(patterns)) {
            if (pattern.toUpper() != pattern) {
                patterns << pattern.toUpper();
            }
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

// The dialog's entry when the user accepted it, nothing when the dialog was cancelled.
template <typename Dialog, typename Entry>
std::optional<std::string> Accepted(Dialog& dialog, Entry entry) {
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return (dialog.*entry)().toStdString();
}

QMessageBox::StandardButtons QtButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QUrl AddressUrl(const std::string& pathOrAddress) {
    const QString text = FromStd(pathOrAddress);
    if (text.startsWith(QLatin1Char('/')) ||
        (text.size() > 2 && text[1] == QLatin1Char(':') &&
         (text[2] == QLatin1Char('\\') || text[2] == QLatin1Char('/')))) {
        return QUrl::fromLocalFile(text);
    }
    return QUrl(text);
}

std::string QtClipboard::text() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(FromStd(text));
}

namespace {

void LoadQueued(const QPointer<QWebEngineView>& view, bool& loading, const std::string& address) {
    loading = true;
    QTimer::singleShot(0, view, [view, url = AddressUrl(address)] {
        if (view) {
            view->load(url);
        }
    });
}

}  // namespace

QtBrowser::QtBrowser(QWebEngineView* view) : view_(view) {
    QObject::connect(view, &QWebEngineView::loadStarted, view,
                     [loading = loading_] { *loading = true; });
    QObject::connect(view, &QWebEngineView::loadFinished, view,
                     [loading = loading_](bool) { *loading = false; });
}

void QtBrowser::updateEditorPage(const std::string& screenPage, const std::string& update) {
    if (!view_ || *loading_) {
        navigate(screenPage);
        return;
    }
    const QString script = QStringLiteral(
                               "(function(){var e=window.frames['editor'];"
                               "return !!(e&&typeof e.ddUpdate==='function'&&e.ddUpdate(%1));})()")
                               .arg(QString::fromStdString(update));
    view_->page()->runJavaScript(
        script, [view = view_, loading = loading_, screenPage](const QVariant& done) {
            if (!done.toBool()) {
                LoadQueued(view, *loading, screenPage);
            }
        });
}

void QtBrowser::navigate(const std::string& address) {
    LoadQueued(view_, *loading_, address);
}

std::optional<std::string> QtBrowser::editorLayout() {
    // A page waiting for the program cannot answer: asking would only wait out the time.
    const auto* page = view_ ? qobject_cast<BrowserPage*>(view_->page()) : nullptr;
    if (!view_ || (page != nullptr && page->waitingForTheProgram())) {
        return std::nullopt;
    }
    struct Answer {
        QEventLoop loop;
        bool arrived = false;
        std::optional<std::string> layout;
    };
    auto answer = std::make_shared<Answer>();
    view_->page()->runJavaScript(QString::fromUtf8(kLayoutScript),
                                 [answer](const QVariant& result) {
                                     answer->arrived = true;
                                     if (result.typeId() == QMetaType::QString) {
                                         answer->layout = result.toString().toStdString();
                                     }
                                     answer->loop.quit();
                                 });
    if (!answer->arrived) {
        QTimer::singleShot(kLayoutTimeoutMs, &answer->loop, &QEventLoop::quit);
        answer->loop.exec();
    }
    return answer->layout;
}

std::string QtBrowser::pagePicture() {
    constexpr int kPictureWidth = 240;
    if (!view_ || !view_->isVisible() || view_->width() <= 0) {
        return std::string();
    }
    const QImage shown = view_->grab().toImage();
    if (shown.isNull()) {
        return std::string();
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    shown.scaledToWidth(kPictureWidth, Qt::SmoothTransformation).save(&buffer, "PNG");
    return bytes.toStdString();
}

std::optional<std::map<std::string, std::vector<std::string>>> QtBrowser::sectionReach(
    const std::string& pageFile) {
    return MeasureSectionReach(pageFile);
}

void QtShell::open(const std::string& pathOrAddress) {
    QDesktopServices::openUrl(AddressUrl(pathOrAddress));
}

MessageAnswer QtPrompts::messageBox(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(QtIcon(icon), FromStd(caption), FromStd(text), QtButtons(buttons), owner_);
    // A question asked while a server is awaited stands alone; the notice comes back after.
    const bool noticeShown = notice_ != nullptr && notice_->isVisible();
    if (noticeShown) {
        notice_->hide();
    }
    // A question that warns asks about something risky: Enter, or Escape, answers No.
    if (buttons == MessageButtons::YesNo && icon == MessageIcon::Warning) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
    if (noticeShown) {
        notice_->show();
    }
    switch (answer) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        default:
            return MessageAnswer::Cancel;
    }
}

std::optional<std::string> QtPrompts::saveFileName(const SaveFileRequest& request) {
    QFileDialog dialog(owner_, FromStd(request.title), FromStd(request.initialPath),
                       QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The designer asks about a file that is there, under the name the page will really get.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // Qt's own dialog reads quotes in the typed name as a list of files ("a" "b"), so that
    // Zoë's "page" would come back as page: the name is taken as it was typed.
    if (const auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        const QString name = typed->text();
        if (name.contains(QLatin1Char('"'))) {
            return QDir::isAbsolutePath(name)
                       ? name.toStdString()
                       : dialog.directory().absoluteFilePath(name).toStdString();
        }
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    return chosen.front().toStdString();
}

std::optional<std::string> QtPrompts::pageName() {
    newpage dialog(owner_);
    return Accepted(dialog, &newpage::fileName);
}

std::optional<std::string> QtPrompts::pageTitle(const std::string& current) {
    pagetitle dialog(FromStd(current), owner_);
    return Accepted(dialog, &pagetitle::title);
}

std::optional<PageOptions> QtPrompts::pageOptions(const PageOptions& current) {
    pageoptions dialog(current, QLocale::system().bcp47Name(), owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PageOptions{dialog.language(), dialog.description(), dialog.noSiteItems()};
}

std::optional<std::vector<std::string>> QtPrompts::siteLanguages(
    const std::string& folder, const std::vector<std::string>& current) {
    sitelanguages dialog(FromStd(folder), current, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.languages();
}

std::optional<SiteOptions> QtPrompts::siteOptions(const std::string& folder,
                                                  const SiteOptions& current) {
    siteoptions dialog(FromStd(folder), current, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.options();
}

std::optional<SiteMenu> QtPrompts::siteMenu(const SiteMenu& current, const FolderPages& pages) {
    sitemenu dialog(current, pages, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.menu();
}

std::optional<PageChoice> QtPrompts::pageList(const std::string& folder,
                                              const std::vector<PageListEntry>& pages,
                                              const std::string& current) {
    pagelist dialog(FromStd(folder), pages, current, owner_);
    dialog.exec();
    return dialog.choice();
}

std::optional<std::size_t> QtPrompts::deletedPages(const std::string& folder,
                                                   const std::vector<DeletedPageEntry>& pages) {
    deletedpages dialog(FromStd(folder), pages, owner_);
    dialog.exec();
    return dialog.choice();
}

std::optional<VersionChoice> QtPrompts::pageHistory(const std::string& page,
                                                    const std::vector<PageVersionEntry>& versions) {
    pagehistory dialog(FromStd(page), versions, owner_);
    dialog.exec();
    return dialog.choice();
}

std::optional<PublishRequest> QtPrompts::publishSite(const std::string& folder,
                                                     const std::vector<std::string>& targets) {
    publishsite dialog(FromStd(folder), targets, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.request();
}

std::optional<std::size_t> QtPrompts::siteCheck(const std::string& folder,
                                                const std::vector<std::string>& findings) {
    sitecheck dialog(FromStd(folder), findings, owner_);
    dialog.exec();
    return dialog.opened();
}

std::optional<std::string> QtPrompts::newSite(const std::vector<StarterOffer>& starters) {
    newsite dialog(starters, owner_);
    dialog.exec();
    return dialog.chosen();
}

std::optional<std::string> QtPrompts::sectionName() {
    sectionname dialog(owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.name().toStdString();
}

std::optional<SectionChoice> QtPrompts::sectionLibrary(const std::vector<SectionOffer>& sections) {
    sectionlibrary dialog(sections, owner_);
    dialog.exec();
    return dialog.choice();
}

std::optional<std::string> QtPrompts::clickOption() {
    clickoptions dialog(owner_);
    return Accepted(dialog, &clickoptions::choice);
}

std::optional<std::string> QtPrompts::openFileName(const OpenFileRequest& request) {
    // The start path names a folder and a pattern ("/x/backgrounds/*.*"): the dialog opens in
    // the folder.
    const QString start = FromStd(request.startPath);
    const QString folder = start.isEmpty() ? QString() : QFileInfo(start).path();
    const QString chosen =
        QFileDialog::getOpenFileName(owner_, QString(), folder, QtFilter(request.filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

std::optional<Rgb> QtPrompts::colour() {
    const QColor chosen = QColorDialog::getColor(Qt::white, owner_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Rgb{chosen.red(), chosen.green(), chosen.blue()};
}

std::optional<ImageProperties> QtPrompts::imageProperties(const ImageProperties& current) {
    imageedit dialog(FromStd(current.sourceFile), FromStd(current.linkTarget), current.description,
                     *this, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ImageProperties{dialog.sourceFile().toStdString(), dialog.linkTarget().toStdString(),
                           dialog.description()};
}

std::optional<std::string> QtPrompts::pageLength(const std::string& current) {
    pagelength dialog(FromStd(current), owner_);
    return Accepted(dialog, &pagelength::pageLength);
}

std::optional<std::string> QtPrompts::linkTarget() {
    linkselector dialog(owner_);
    return Accepted(dialog, &linkselector::target);
}

SpellAnswer QtPrompts::spellReplacement(const std::string& word, const std::string& suggestions) {
    spelldialog dialog(FromStd(word), FromStd(suggestions), owner_);
    dialog.exec();
    return dialog.answer();
}

bool QtPrompts::hostingAgreement(const std::string& text) {
    agreement dialog(FromStd(text), owner_);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> QtPrompts::folderName(const std::string& prompt,
                                                 const std::string& name) {
    siteName dialog(FromStd(prompt), FromStd(name), owner_);
    return Accepted(dialog, &siteName::name);
}

std::optional<FolderAction> QtPrompts::folderAction() {
    siteAction dialog(owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.viewOnline() ? FolderAction::ViewOnline : FolderAction::ChangeName;
}

void QtPrompts::taskProgress(const std::string& step, std::size_t done, std::size_t total) {
    if (done >= total) {
        if (progress_) {
            progress_->deleteLater();
        }
        return;
    }
    if (!progress_) {
        progress_ = new QProgressDialog(owner_);
        progress_->setWindowTitle(QStringLiteral("Quillora"));
        progress_->setCancelButton(nullptr);
        progress_->setMinimumDuration(0);
        progress_->setWindowModality(Qt::WindowModal);
    }
    progress_->setMaximum(static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
    progress_->setLabelText(FromStd(step));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPrompts::uploadNotice(bool shown) {
    if (shown) {
        if (!notice_) {
            notice_ = new UploadNotice(owner_);
        }
        notice_->showOver();
    } else if (notice_) {
        notice_->hide();
    }
}

void QtPrompts::waitNotice(const std::string& text) {
    if (text.empty()) {
        if (notice_) {
            notice_->hide();
        }
        return;
    }
    if (!notice_) {
        notice_ = new UploadNotice(owner_);
    }
    notice_->showWaiting(FromStd(text));
}

bool QtPrompts::transferGoesOn() {
    // Events are taken in only while the notice keeps the windows from taking input.
    if (!notice_ || !notice_->isVisible()) {
        return true;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !notice_->cancelled();
}

void QtPrompts::transferProgress(int percent) {
    if (notice_) {
        notice_->showProgress(percent);
    }
}

std::optional<std::string> QtPrompts::newFolderName() {
    newFolder dialog(owner_);
    return Accepted(dialog, &newFolder::name);
}

std::optional<std::string> QtPrompts::chooseFolder(const std::string& title,
                                                   const std::string& start) {
    const QString chosen =
        QFileDialog::getExistingDirectory(owner_, FromStd(title), FromStd(start));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

void QtPrompts::serverFiles(const ServerFilesWindow& window) {
    // The command comes from the designer's page, which waits inside its prompt until the
    // command ends; a browser window opened in there loads nothing (Chromium runs no
    // navigation inside that wait). So it opens once the command has ended.
    QTimer::singleShot(0, [window, owner = owner_] {
        filedelete dialog(AddressUrl(window.connectingPage), AddressUrl(window.listingAddress),
                          window.navigated, owner);
        dialog.exec();
    });
}

std::optional<PictureSize> QtPictureDecoder::decode(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QSize size = reader.size();
    if (!size.isValid()) {
        // Some formats tell their size only once read.
        size = reader.read().size();
    }
    // As it stands upright: a photo taken with the camera on its side (EXIF orientation 5 to 8)
    // is as tall as the sensor is wide, and browsers show it turned.
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)) {
        size.transpose();
    }
    if (!size.isValid() || size.isEmpty()) {
        return std::nullopt;
    }
    return PictureSize{size.width(), size.height()};
}
