// Whether something exists at a path. Windows: file access and file search
// (wildcards allowed in the search); natively: the file system's status.
#pragma once

namespace zu {

// 0 when the path can be accessed as a file or folder, or a search for it
// finds a folder; otherwise 1.
int FolderMissing(const char* path);

// 0 when a search for the path finds an entry that is not a folder,
// otherwise 1 (a folder counts as missing).
int FileMissing(const char* path);

// Makes one folder level; nothing happens when it exists or cannot be made.
void MakeOneFolder(const char* path);

}  // namespace zu
