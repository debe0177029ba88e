// How a list file is written over the file of its name, chosen from what
// that file is. Windows replaces a document by ReplaceFile, which gives the
// new file the old one's permissions, owner, attributes, creation time and
// streams; a file with more than one name (a hard link) would lose the
// others that way, so it is written in place instead, once a copy beside
// it has shown that the new text fits.
#pragma once
#include <string>

// What is known of the file at the list's path (of the file a symbolic
// link there leads to).
struct ReplaceTarget {
    bool exists = false;
    bool plainFile = false;  // a file on a disk: no folder, no device
    bool readOnly = false;
    unsigned links = 1;      // names the file has
};

enum class ReplaceWay {
    create,          // a new file: the temporary file takes the name
    replace,         // ReplaceFile, or the temporary file moved over it where that cannot act
    rewriteInPlace,  // the same file written anew, so that every name keeps it
    refuse,          // a folder, a device or a read-only file is never written
};

ReplaceWay chooseReplaceWay(const ReplaceTarget& target);

// The name of the temporary file for attempt `seed`: "~tv" and five hex
// digits, ".tmp" (ASCII, so that it never changes in a conversion).
std::string temporaryFileName(unsigned seed);

// How a save ended, for the box that tells of it.
enum class SaveResult {
    written,
    notWritable,     // refused, see ReplaceWay::refuse
    noTemporary,     // no temporary file could be made beside the list
    writeFailed,     // the text could not be written whole (a full disk)
    replaceFailed,   // the new file could not take the list's place
};
