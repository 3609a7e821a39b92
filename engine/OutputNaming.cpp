#include "OutputNaming.h"

std::wstring OutputNaming::BaseName(const std::wstring& presentationPath) {
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
    const std::size_t dot = ExtensionStart(presentationPath);
    return presentationPath.substr(0, dot) + L".pdf";
}

std::size_t OutputNaming::FileNameStart(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// Index of the last "." of the file-name part, or npos.
std::size_t OutputNaming::ExtensionStart(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < FileNameStart(path)) return std::wstring::npos;
    return dot;
}
