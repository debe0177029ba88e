// Process-wide state of the running copy, grouped by concern. Every field
// is a fixed-capacity text in the original design; writers go through
// text::assignCut with the capacity named beside the field.
#pragma once
#include <string>

#include "common/source_program.h"
#include "platform/platform.h"

// Where the program lives and what its files are called.
struct ProgramPaths {
    std::string programPath;        // 520; also the window class and title
    std::string programName;        // base name without extension
    std::string programFolder;      // with trailing backslash
    std::string settingsFileName;   // programName + ".ini"
    std::string settingsPath;       // 260
    std::string helpFilePath;       // programFolder + "Tavrin.txt"
    std::string instanceMutexName;  // programPath + "_Mark", slashes as '-'
    // The folder that was current when the program started, with a
    // trailing backslash; empty when unknown. Relative names of files the
    // user gives are taken beside it, whatever folder is current later.
    std::string startFolder;
};

// The running copy: its window, key states and the text it was given.
struct RunState {
    platform::WindowHandle mainWindow = nullptr;
    std::string currentTarget;   // command line at start, later the target
    int shiftFlag = 0;
    int ctrlFlag = 0;
    int screenWidth = 0;
    int maximizedHeight = 0;
    int mouseButtonCount = 0;
    // The system's resolution: points written in the settings are in
    // 96-DPI units, as Windows scaled them before the program was DPI-aware.
    int systemDpi = 96;
    std::string transferBuffer;  // 30,160
    int dropRegistered = 0;
    int listWindowActive = 0;
    // The program this copy was started from; a second copy sends it with
    // its input. Deciding it asks the system about processes, so it is
    // decided when first wanted (startSource()), by the decider the
    // creation step installs: a dispatch that needs no source never waits
    // for it. Without a decider it is what was put here.
    SourceProgram startSourceProgram;
    SourceProgram (*startSourceDecider)() = nullptr;
};

// Input options taken from the command-line switches.
struct StartOptions {
    int clipboardStart = 0;        // "/#c"
    int browserQueryMode = 0;      // 1 "/#d", 2 "/#d="
    std::string browserServiceName;  // 32
};

// Where the links of the list come from.
struct LinkSource {
    int linkMode = 0;       // 0 plain list, 1 HTML with base URL, 2 without
    std::string baseUrl;    // 260
    std::string listTitle;  // 260
    std::string listSource; // 520
    int kanjiConversion = 1;  // read files go through the code converter
};

extern ProgramPaths programPaths;

// The file `name` in the program's own folder: where the outside libraries
// are loaded from, and nowhere else.
std::string programFolderFile(const std::string& name);
// runState.startSourceProgram, decided first if it is not yet.
const SourceProgram& startSource();
// `path` beside the start folder when it is relative and the start folder
// is known; else `path` as it stands.
std::string besideStartFolder(const std::string& path);
extern RunState runState;
extern StartOptions startOptions;
extern LinkSource linkSource;

// The cancel marker returned instead of a path or an expanded text.
inline constexpr const char* cancelMarker = "CancelData_Kumbe";
