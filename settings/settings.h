// The "[system]" options, user parameters, filter groups and list programs,
// read once at start by loadSettings and then only consulted.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/cleaning_options.h"

enum MenuPosition : int {
    menuAtActiveWindow = 0,
    menuAtXY = 1,
    menuAtMouse = 2,
    menuAtMouse2 = 3,
    menuCentred = 4,
    menuPositionUnset = 9,
};

struct Settings {
    std::string separator = " | ";   // 32
    std::string titleSeparator = "||";  // 32
    int parametersOn = 0;
    int searchPathSet = 0;
    std::string searchPathList;      // 5,200
    int showIcons = 0;
    int menuPosition = menuPositionUnset;
    int menuX = 0, menuY = 0;
    int titleLength = 0;
    std::string alternatePath;       // 260
    std::string editorProgram;       // 260
    std::array<std::string, 10> pageExtensions;  // 32 each
    int pageExtensionCount = 0;
    std::array<std::string, 10> browserServices; // 32 each
    int browserServiceCount = 0;
    std::string menuTitle = "%L";    // 260
    std::string loaderProgram;       // 260
    std::string loaderParameters;    // 260
    int keepTemp = 1;
    int timeoutSeconds = 30;
    int pollForFile = 0;
    std::array<int, 4> schemeEnabled{1, 1, 1, 1};  // http, ftp, mailto, file
    int schemesFromCommandLine = 0;
    int firstPause = 0, laterPause = 0;
    int subCommandMark = 1;
    int activateMenuWindow = 0;
    int smallIconWidth = 16, smallIconHeight = 16;
    std::string tempFolder;          // 260
    LinkCleaning cleaning;           // "@unwrap", "@strip="
};

enum SchemeIndex : int { schemeHttp = 0, schemeFtp = 1, schemeMailto = 2, schemeFile = 3 };

struct UserParameter {
    std::string name;   // 20
    std::string value;  // 260
};
struct UserParameters {
    std::array<UserParameter, 10> rows;
    int count = 0;
};

struct FilterGroup {
    std::array<std::string, 11> items;  // 11 bytes each
    int count = 0;
};
struct FilterGroups {
    std::array<FilterGroup, 10> groups;
    int groupCount = 0;
    int selectedFilterGroup = 0;
};

struct ListProgram {
    std::string programFile;      // 260, full path
    std::string caption;          // 260
    std::string extraParameters;  // 260
    int hasExtraParameters = 0;
};
struct ListPrograms {
    std::array<ListProgram, 10> rows;
    int listProgramCount = 0;
    int selectedListProgram = 20;  // 20: none chosen
};

extern Settings settings;
extern UserParameters userParameters;
extern FilterGroups filterGroups;
extern ListPrograms listPrograms;

// Reads the settings file; 1 on success, 0 after showing the error message.
int loadSettings(platform::WindowHandle window, int systemOnly);
