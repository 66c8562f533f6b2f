#pragma once
// Checking and creating the output folder a user chose. Paths are POSIX
// paths: "/" is the root, and every folder still to be made needs a valid name.
#include <string>

namespace tessera {

enum FolderCheck { FolderValid = 0, FolderInvalid = 1, FolderNotCreated = 2 };

// 0 when the path is valid (and, when creating, exists now), 1 invalid,
// 2 a folder could not be created, with the system's reason in `reason`.
// Creating makes missing folders one level at a time. The folder-name rule
// applies only to folders that do not exist yet.
int ValidateFolderPath(const std::string& path, bool checkOnly, std::string* reason = nullptr);
// False for an empty name, a name starting or ending with a tab, blank or
// dot, and a name holding any of " * / : < > ? \ |.
bool IsValidFolderName(const std::string& name);
// Validates the folder and, when it does not exist, asks whether to create
// it. 0 when it can be used; -1 when the user declined; 1 or 2 after saying
// it is invalid or cannot be created. Without `createNow` a Yes leaves the
// making to the writing of the first output, after every check of the run.
int ConfirmOutputFolder(const std::string& path, bool createNow = true);
// The same check without the question and without creating anything (a dry
// run): 0 when the folder can be used or made, 1 after saying it is invalid.
int CheckOutputFolder(const std::string& path);

}  // namespace tessera
