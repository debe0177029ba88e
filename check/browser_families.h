// The web browsers whose profiles the check tool can read: how each is
// told by its program's file name, where its profiles are kept, and the
// switch that opens its private window. A browser of no family here is
// still listed, with its program line only.
#pragma once
#include <string>

#include "check/messages.h"

enum class ProfileStore { none, chromium, firefox };

// A folder under one of the user's folders: "LOCALAPPDATA" or "APPDATA"
// and a path with backslashes, where "{folder}" stands for the name of the
// program's own folder.
struct UserPlace {
    const char* userFolder;
    const char* relative;
};

struct BrowserFamily {
    const char* name;            // shown when the registry names none
    const char* programs[2];     // file names that tell the family (lower case)
    const char* programFolder;   // the program's folder name begins with this; null: any
    ProfileStore store;
    // Chromium: user data folders (holding Local State); Firefox: the
    // folder holding profiles.ini. Tried in turn, after the folders
    // beside the program.
    UserPlace stores[2];
    const char* privateSwitch;   // null: none the family is known to take
    Text privateCaption;
};

// The family of a program, by its file name and its folder's name (ASCII
// case ignored); null when none.
const BrowserFamily* familyOfProgram(const std::string& fileName, const std::string& folderName);
// The family of a program with a Local State of its own but no known name.
const BrowserFamily& otherChromiumFamily();

// Where browsers install for one user, so that a browser Windows was not
// told of (and, natively, any) is found too.
struct InstallPlace {
    UserPlace program;
    const char* name;
};
extern const InstallPlace installPlaces[];
extern const int installPlaceCount;
