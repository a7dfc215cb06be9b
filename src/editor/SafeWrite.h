#pragma once
// Writing a document so that a failure never costs the copy already on disk.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

enum class SafeWriteResult { Written, OpenFailed, WriteFailed };

// Writes one chunk to the open file; false on failure. Replaceable so that tests can make a
// write fail halfway.
using ChunkWriter = std::function<bool(HANDLE file, std::string_view bytes)>;
bool WriteAllBytes(HANDLE file, std::string_view bytes);

// OpenFailed: the file cannot be opened for writing (held by another program, read-only, no
// such folder); nothing on disk has changed. Otherwise the bytes go to a new file beside it,
// are flushed, and only then take the old file's place. WriteFailed leaves the old file as it
// was (and no file at all where there was none).
SafeWriteResult WriteFileSafely(const std::wstring& path, std::string_view bytes,
                                const ChunkWriter& write = WriteAllBytes);
