// Pointing Tavrin's process-wide records at the settings file a check
// reads: the settings file's folder stands in for the folder of
// Tavrin.exe (where Tavrin keeps Tavrin.ini, its temporary folder and the
// files "/#s=" and "@ext2=" name).
#pragma once
#include <cstdint>
#include <string>

#include "check/check.h"
#include "check/options.h"

struct SettingsFile {
    std::string path;    // as Tavrin would name it: folder + name
    std::string folder;  // with a trailing separator
    std::string name;
    std::string text;    // the bytes, up to one more than Tavrin reads
};

// The platform the tool looks at files through: the environment's, else
// the native one.
platform::Platform& toolPlatform(const CheckEnvironment& environment);

// Why `path` cannot be read, in words: missing, a folder, larger than
// `limit` bytes, or held by another program.
std::string unreadableReason(const CheckEnvironment& environment, Language language,
                             const std::string& path, std::uint64_t limit);

// Finds and reads the settings file (--ini FILE, or Tavrin.ini beside the
// tool). False with a message in `error` when it is missing or cannot be
// read.
bool readSettingsFile(const CheckOptions& options, const CheckEnvironment& environment,
                      SettingsFile& file, std::string& error);

// Resets every process-wide record of Tavrin to what a fresh start holds
// and names the settings file and the program folder.
void resetTavrinState(const SettingsFile& file);

// The 1-based line number of a byte offset.
int lineOfOffset(const std::string& text, std::size_t offset);
