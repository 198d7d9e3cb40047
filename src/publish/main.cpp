#include <atomic>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "common/working_folder.h"
#include "publish/batch_publish.h"
#include "publish/upload_target.h"
#include "ui/keychain_vault.h"

namespace {

std::atomic<bool> stopAsked{false};

void AskToStop(int) {
    stopAsked = true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // A password in an address is wiped from the arguments that ps shows, as curl does.
    for (int i = 1; i < argc; ++i) {
        if (const auto password = PasswordInAddress(argv[i])) {
            std::memset(argv[i] + password->first, '*', password->second);
        }
    }
    // Ctrl+C and SIGTERM end an upload cleanly: the file under way is taken back, and what was
    // sent and what was not is told.
    struct sigaction stop = {};
    stop.sa_handler = AskToStop;
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    // The keyring answers through Qt's event loop.
    QCoreApplication application(argc, argv);
    KeychainVault keyring;
    return RunBatchPublish(arguments, DefaultWorkingFolder(), std::cout, std::cerr, &keyring,
                           &stopAsked);
}
