#include "ParameterFile.h"

#include <windows.h>

#include "UniqueHandle.h"

const wchar_t* const ParameterFile::kName = L"pdfmarks";

std::string ParameterFile::ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

bool ParameterFile::Write(const std::wstring& path, const std::wstring& text) {
    UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string bytes = ToAnsi(text);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return false;
    return written == bytes.size() && CloseHandle(file.Release());
}
