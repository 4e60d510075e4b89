#pragma once

#include <cstdio>
#include <memory>
#include <string>

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens a file from outside for reading, and only a plain file: a FIFO, a
// device or a folder is refused at once instead of blocking the reader or
// reading as empty. error gets the errno when it returns no file (that of
// the failed open or fstat, EISDIR for a folder, EINVAL for anything else
// that is no plain file).
FilePtr OpenRegularFile(const std::string& path, int& error);

// The same as a file descriptor of its own (close it), or -1.
int OpenRegularFileDescriptor(const std::string& path, int& error);
