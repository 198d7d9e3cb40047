#include "files/background_picture.h"

#include "common/paths.h"
#include "files/file_operation.h"
#include "files/picture_size.h"
#include "platform/prompts.h"

std::optional<std::string> ChooseBackgroundPicture(Prompts& prompts,
                                                   const std::string& workingFolder,
                                                   bool& firstBrowse) {
    const std::string backgrounds = JoinPath(workingFolder, "backgrounds");
    const std::string start = firstBrowse ? JoinPath(backgrounds, "*.*") : std::string();
    firstBrowse = false;
    const std::optional<std::string> chosen = prompts.openFileName({kPictureFilter, start});
    if (!chosen || chosen->size() <= 4) {
        return std::nullopt;
    }
    FileOperation files(prompts);
    files.setOverwrite(true);
    files.Copy(*chosen, backgrounds);
    return FileNameOf(*chosen);
}
