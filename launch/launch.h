// Starting an association's program, carrying every selected URL in place
// of "%M", and letting the system open a target.
#pragma once
#include <string>
#include <string_view>

// Starts `program` (a full path, or a text holding "@system") with the
// expanded `parameters`, in the program's own folder.
void launchProgram(const std::string& program, const std::string& parameters);
// One start whose parameters carry every URL of urlList in place of "%M".
void launchWithAllTargets(std::string_view parameters, const std::string& program,
                          const std::string& directory);
// Opens a path or URL (quotes removed) by the system, falling back to the
// Open With dialog.
void openDocument(std::string_view target);
