#include <iostream>
#include <string>
#include <vector>

#include "common/working_folder.h"
#include "publish/batch_publish.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunBatchPublish(arguments, DefaultWorkingFolder(), std::cout, std::cerr);
}
