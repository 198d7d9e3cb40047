#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "common/working_folder.h"
#include "publish/batch_publish.h"
#include "ui/keychain_vault.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The keyring answers through Qt's event loop.
    QCoreApplication application(argc, argv);
    KeychainVault keyring;
    return RunBatchPublish(arguments, DefaultWorkingFolder(), std::cout, std::cerr, &keyring);
}
