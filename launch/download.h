// Download-then-open for "*" and "#" sub-commands.
#pragma once
#include <string>

// Downloads runState.currentTarget into the folder the folder template
// names (the temporary folder when it names none), directly or with the
// loader program when viaLoader is 1, then starts `program` with the
// parameter template expanded for the saved file. After a failed or
// refused download nothing is started and urlList is left as it is.
void downloadAndLaunch(const std::string& program, const std::string& parameterTemplate,
                       const std::string& folderTemplate, int viaLoader);
