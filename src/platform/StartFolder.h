#pragma once

#include <QString>

#include <functional>

// Whether the user may make files in a folder.
using FolderAccess = std::function<bool(const QString& folder)>;

// What the file system's permissions tell of it, which on Linux is all there is to tell.
bool permissionsAllowWriting(const QString& folder);

// Where the open and save dialogs begin: the working folder when the user may make files in it,
// otherwise the user's documents folder, made when it is not there yet. Asked afresh at each use.
QString dialogStartFolder(const FolderAccess& userMayWriteIn);
