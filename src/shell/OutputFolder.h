#pragma once
// Checking and creating the output folder a user chose. Paths are POSIX
// paths: "/" is the root, and every name after it must be a valid folder name.
#include <string>

namespace tessera {

enum FolderCheck { FolderValid = 0, FolderInvalid = 1, FolderNotCreated = 2 };

// 0 when the path is valid (and, when creating, exists now), 1 invalid,
// 2 a folder could not be created. Creating makes missing folders one level
// at a time.
int ValidateFolderPath(const std::string& path, bool checkOnly);
// False for an empty name, a name starting or ending with a tab, blank or
// dot, and a name holding any of " * / : < > ? \ |.
bool IsValidFolderName(const std::string& name);
// Validates the folder and, when it does not exist, asks whether to create
// it. 0 when it can be used; -1 when the user declined; 1 or 2 after saying
// it is invalid or cannot be created.
int ConfirmOutputFolder(const std::string& path);

}  // namespace tessera
