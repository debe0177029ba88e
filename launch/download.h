// Download-then-open for "*" and "#" sub-commands.
#pragma once
#include <string>

// Downloads runState.currentTarget into the folder the folder template
// names (directly, or with the loader program when viaLoader is 1), then
// starts `program` with the expanded parameter template.
void downloadAndLaunch(const std::string& program, const std::string& parameterTemplate,
                       const std::string& folderTemplate, int viaLoader);
