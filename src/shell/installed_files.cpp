#include "shell/installed_files.h"

#include <QDirIterator>
#include <QFile>

namespace {

const QString kRoot = QStringLiteral(":/install/");

}  // namespace

std::vector<InstalledFile> InstalledFiles() {
    std::vector<InstalledFile> files;
    QDirIterator it(kRoot, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray content = file.readAll();
        files.push_back({path.mid(kRoot.size()).toStdString(),
                         std::string(content.constData(), static_cast<std::size_t>(content.size())),
                         path.endsWith(QStringLiteral(".js"))});
    }
    return files;
}

std::string SystemDictionaryFolder() {
    return "/usr/share/hunspell";
}
