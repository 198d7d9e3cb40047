#include "ui/keychain_vault.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {

const QString kService = QStringLiteral("Quillora");

// Runs the job to its end.
QKeychain::Error Run(QKeychain::Job& job, const std::string& key) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(QString::fromStdString(key));
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error();
}

}  // namespace

bool KeychainVault::available() {
    if (!available_) {
        QKeychain::ReadPasswordJob probe(kService);
        const QKeychain::Error error = Run(probe, "availability probe");
        available_ = error == QKeychain::NoError || error == QKeychain::EntryNotFound;
    }
    return *available_;
}

bool KeychainVault::store(const std::string& key, const std::string& password) {
    QKeychain::WritePasswordJob job(kService);
    job.setTextData(QString::fromStdString(password));
    return Run(job, key) == QKeychain::NoError;
}

std::optional<std::string> KeychainVault::read(const std::string& key) {
    QKeychain::ReadPasswordJob job(kService);
    if (Run(job, key) != QKeychain::NoError) {
        return std::nullopt;
    }
    return job.textData().toStdString();
}

void KeychainVault::forget(const std::string& key) {
    QKeychain::DeletePasswordJob job(kService);
    Run(job, key);
}
