#include "framework/Files.h"

#include <shlobj.h>

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    LARGE_INTEGER size{};
    // Save files are small; anything beyond 64 MiB is not one of ours.
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart <= (64 << 20)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty() &&
            !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
            read = 0;
        }
        bytes.resize(read);
    }
    CloseHandle(file);
    return bytes;
}

namespace {

// A new, empty file of its own in the folder of `path`, so that the move
// over `path` stays on one volume; nothing when the folder takes none.
std::optional<std::wstring> TemporaryBeside(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    wchar_t name[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH - 14 || GetTempFileNameW(folder.c_str(), L"vel", 0, name) == 0) {
        return std::nullopt;
    }
    return std::wstring(name);
}

}  // namespace

bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const std::optional<std::wstring> own = TemporaryBeside(path);
    if (!own) {
        return WriteFileAtomically(path, bytes, path + L".new");
    }
    return WriteFileAtomically(path, bytes, *own);
}

bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes,
                         const std::wstring& temporary) {
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // The unique name was made empty by the system: it goes again.
        DeleteFileW(temporary.c_str());
        return false;
    }
    DWORD written = 0;
    bool ok = bytes.size() <= MAXDWORD &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file);
    // A full disk may only tell when the file is closed.
    ok = CloseHandle(file) && ok;
    if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::wstring InWindowsDirectory(const std::wstring& name) {
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
    std::wstring path(directory, length < MAX_PATH ? length : 0);
    return path + L"\\" + name;
}

std::optional<uint64_t> LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

std::optional<std::wstring> InLocalAppData(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ||
        folder[0] == 0) {
        return std::nullopt;
    }
    return std::wstring(folder) + L"\\" + name;
}

bool MakeFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CanWriteIn(const std::wstring& folder) {
    wchar_t name[MAX_PATH] = {};
    if (folder.empty() || folder.size() >= MAX_PATH - 14 ||
        GetTempFileNameW(folder.c_str(), L"vel", 0, name) == 0) {
        return false;
    }
    DeleteFileW(name);
    return true;
}
