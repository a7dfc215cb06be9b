#include "editor/SafeWrite.h"

#include <algorithm>
#include <cwchar>

#include "shell/Win32Util.h"

namespace {

// A name beside the target that nobody else uses; CREATE_NEW makes sure of it.
UniqueHandle CreateSibling(const std::wstring& path, std::wstring& name) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[48];
        swprintf(suffix, 48, L"~%lx-%x.tmp", GetCurrentProcessId(), GetTickCount() + attempt);
        name = path + suffix;
        UniqueHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr));
        if (file.Valid()) return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    name.clear();
    return UniqueHandle();
}

bool WriteAndFlush(HANDLE file, std::string_view bytes, const ChunkWriter& write) {
    return write(file, bytes) && FlushFileBuffers(file);
}

}  // namespace

bool WriteAllBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

SafeWriteResult WriteFileSafely(const std::wstring& path, std::string_view bytes, const ChunkWriter& write) {
    // Opening the target itself tells whether it may be written at all, without touching it.
    UniqueHandle target(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.Valid()) return SafeWriteResult::OpenFailed;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;

    std::wstring tempName;
    UniqueHandle temp = CreateSibling(path, tempName);
    if (temp.Valid()) {
        const bool ok = WriteAndFlush(temp.Get(), bytes, write);
        temp.Reset();
        if (ok) {
            target.Reset();
            if (MoveFileExW(tempName.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return SafeWriteResult::Written;
            DeleteFileW(tempName.c_str());
            // Another program holds the file open without letting it be replaced: write it in
            // place, which is the only way left; the text on screen is still whole.
            target.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (target.Valid() && write(target.Get(), bytes) && SetEndOfFile(target.Get()) &&
                FlushFileBuffers(target.Get()))
                return SafeWriteResult::Written;
            return SafeWriteResult::WriteFailed;
        }
        DeleteFileW(tempName.c_str());
    }
    target.Reset();
    if (!existed) DeleteFileW(path.c_str());
    return SafeWriteResult::WriteFailed;
}
