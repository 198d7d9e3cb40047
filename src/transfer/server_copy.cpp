#include "transfer/server_copy.h"

#include <stdlib.h>

#include <filesystem>

#include "common/paths.h"
#include "common/text_file.h"
#include "transfer/ftp_engine.h"

std::optional<std::string> FetchServerFile(FtpEngine& engine, const std::string& name,
                                           const std::string& localFolder,
                                           const std::function<bool()>& stopAsked) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "quillora-check-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        return std::nullopt;
    }
    engine.ftpeSetLocalDir(folder);
    int code = engine.ftpeGetFile(name);
    bool stopped = false;
    while (code >= 0) {
        if (stopAsked()) {
            engine.ftpeAbort();
            stopped = true;
            break;
        }
        code = engine.ftpeDriver();
        if (code == 0) {
            break;
        }
    }
    std::optional<std::string> content;
    if (code == 0 && !stopped) {
        content = ReadTextFile(JoinPath(folder, name));
    }
    engine.ftpeSetLocalDir(localFolder);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return content;
}
