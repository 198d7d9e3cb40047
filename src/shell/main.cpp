#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "common/paths.h"
#include "common/program_version.h"
#include "common/working_folder.h"
#include "files/folder_lock.h"
#include "page/working_files.h"
#include "setup/working_folder_setup.h"
#include "shell/installed_files.h"
#include "shell/main_view.h"
#include "shell/qt_ports.h"

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--version") {
            std::cout << "quillora " << ProgramVersion() << "\n";
            return 0;
        }
    }
    // The browser engine refuses to start its sandbox for root, which the installation
    // commands run as.
#ifndef _WIN32
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillora"));
    // Ties the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillora"));

    const std::string workingFolder = DefaultWorkingFolder();
    QtPrompts prompts;
    QtShell shell;
    // A second program on the folder says so and writes nothing.
    FolderLock::Refusal refusal;
    const std::optional<FolderLock> lock = FolderLock::Take(workingFolder, &refusal);
    if (!lock) {
        prompts.messageBox(
            refusal.unwritable.empty()
                ? "Quillora is already open on the working folder " + workingFolder +
                      (refusal.holder > 0 ? " (process " + std::to_string(refusal.holder) + ")"
                                          : "") +
                      ". Two programs writing one working folder lose each other's work: go "
                      "on in the one that is open."
                : "The working folder " + workingFolder +
                      " cannot be used: " + LockRefusalReason(refusal) + ".",
            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        return 1;
    }
    // A working folder without a page store is a first run: the starters are offered.
    std::error_code unseen;
    const bool firstRun = !std::filesystem::exists(JoinPath(workingFolder, kPageStoreFile), unseen);
    const std::vector<std::string> problems =
        SetUpWorkingFolder(workingFolder, InstalledFiles(), SystemDictionaryFolder(), prompts);
    if (!problems.empty()) {
        std::string text;
        for (const std::string& problem : problems) {
            text += problem + "\n";
        }
        prompts.messageBox(text, "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
    }

    // A mirror of the hosting service, or a private one behind https with a CA of its own.
    HostingAddresses hosting = HostingAddresses::Service();
    if (const QByteArray base = qgetenv("QUILLORA_HOSTING_BASE"); !base.isEmpty()) {
        hosting = HostingAddresses::UnderOneBase(base.toStdString(), hosting.timeout);
    }
    hosting.certificateAuthority = qgetenv("QUILLORA_HOSTING_CA").toStdString();
    MainView window(workingFolder, {prompts, shell}, hosting);
    prompts.setOwner(&window);
    window.showMaximized();
    // A site file the desktop opened with the program is imported; a first run otherwise offers
    // the starters.
    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty()) {
        const std::string file = files.front().toStdString();
        QTimer::singleShot(0, &window, [&window, file] { window.importSiteFile(file); });
    } else if (firstRun) {
        QTimer::singleShot(0, &window, [&window] { window.offerNewSite(); });
    }
    return QApplication::exec();
}
