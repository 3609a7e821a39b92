#include "OutputNaming.h"

#include <cwctype>

#include "PercentDecoding.h"

std::wstring OutputNaming::BaseName(const std::wstring& presentationPath) {
    if (IsWebAddress(presentationPath)) return BaseName(AddressFileName(presentationPath));
    const std::size_t start = FileNameStart(presentationPath);
    const std::size_t dot = ExtensionStart(presentationPath);
    // A name without an extension is all base name: "Budget" gives "Budget.pdf", not ".pdf".
    if (dot == std::wstring::npos) return presentationPath.substr(start);
    return presentationPath.substr(start, dot - start);
}

std::wstring OutputNaming::OutputFileName(const std::wstring& presentationPath) {
    return BaseName(presentationPath) + L".pdf";
}

std::wstring OutputNaming::OutputPath(const std::wstring& outputFolder,
                                      const std::wstring& presentationPath) {
    std::wstring path = outputFolder;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + OutputFileName(presentationPath);
}

// A dot in a folder name is no extension; a name without one just gets ".pdf".
std::wstring OutputNaming::FailureReportPath(const std::wstring& presentationPath) {
    const std::wstring path = IsWebAddress(presentationPath) ? WithoutQuery(presentationPath) : presentationPath;
    const std::size_t dot = ExtensionStart(path);
    return path.substr(0, dot) + L".pdf";
}

bool OutputNaming::IsWebAddress(const std::wstring& presentationPath) {
    for (const std::wstring scheme : {L"https://", L"http://"}) {
        if (presentationPath.size() < scheme.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < scheme.size() && same; ++i)
            same = static_cast<wchar_t>(std::towlower(presentationPath[i])) == scheme[i];
        if (same) return true;
    }
    return false;
}

namespace {
bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}
}  // namespace

bool OutputNaming::IsFullPath(const std::wstring& path) {
    if (path.size() < 3) return false;
    const bool letter = (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    if (letter && path[1] == L':') return IsSeparator(path[2]);
    return IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::wstring OutputNaming::ExtendedPath(const std::wstring& fullPath) {
    if (fullPath.rfind(L"\\\\?\\", 0) == 0 || fullPath.rfind(L"\\\\.\\", 0) == 0) return fullPath;
    if (fullPath.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

// A backslash or slash decoded from "%5C" or "%2F" must not lead the PDF into another folder.
std::wstring OutputNaming::AddressFileName(const std::wstring& address) {
    const std::wstring path = WithoutQuery(address);
    std::wstring name = PercentDecoding::Utf8(path.substr(FileNameStart(path)));
    for (wchar_t& c : name)
        if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) c = L'_';
    return name;
}

std::wstring OutputNaming::WithoutQuery(const std::wstring& address) {
    return address.substr(0, address.find_first_of(L"?#"));
}

std::size_t OutputNaming::FileNameStart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(IsWebAddress(path) ? L"/" : L"\\");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// Index of the last "." of the file-name part, or npos.
std::size_t OutputNaming::ExtensionStart(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < FileNameStart(path)) return std::wstring::npos;
    return dot;
}
