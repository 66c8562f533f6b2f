#pragma once
// Checking and creating the output folder a user chose. Paths are POSIX
// paths: "/" is the root, and every folder still to be made needs a valid name.
#include <string>

#include "ui/UserQuestions.h"

namespace tessera {

// How a chosen output folder fared.
enum class FolderCheck {
    Valid,       // it can be used (when it was to be made now, it exists)
    Invalid,     // said so to the user
    NotCreated,  // a folder of the path could not be made; said so to the user
    Declined,    // the user did not want it made
};

// True when the path is absolute, not too long, and every folder of it that
// does not exist yet has a valid name: folders that are there already are the
// user's, hidden ones included.
bool IsValidFolderPath(const std::string& path);
// False for an empty name, a name starting or ending with a tab, blank or
// dot, and a name holding any of " * / : < > ? \ |.
bool IsValidFolderName(const std::string& name);
// Validates the folder and, when it does not exist, asks `ask` whether to
// create it, making missing folders one level at a time. Without `createNow`
// a Yes leaves the making to the writing of the first output, after every
// check of the run. What is wrong is said through `ask`.
FolderCheck ConfirmOutputFolder(const std::string& path, UserQuestions& ask, bool createNow = true);
// The same check without the question and without creating anything (a dry
// run): Valid when the folder can be used or made, else Invalid.
FolderCheck CheckOutputFolder(const std::string& path, UserQuestions& ask);

}  // namespace tessera
