#pragma once
// Where the PDF of a presentation goes. The engine and the job share this rule.
#include <string>

class OutputNaming {
public:
    // File-name part cut before its last "."; the whole part if it has no ".".
    // For a deck in the cloud (an https:// address) the file-name part is the
    // address's last path segment, percent-decoded as UTF-8, with what a file
    // name cannot hold replaced by "_".
    static std::wstring BaseName(const std::wstring& presentationPath);
    static std::wstring OutputFileName(const std::wstring& presentationPath);
    static std::wstring OutputPath(const std::wstring& outputFolder, const std::wstring& presentationPath);
    // The PDF path beside the presentation, named in the failure message.
    static std::wstring FailureReportPath(const std::wstring& presentationPath);
    // PowerPoint names a deck saved to OneDrive or SharePoint by its address.
    static bool IsWebAddress(const std::wstring& presentationPath);
    // A drive with its root (C:\...) or a share (\\server\...): "Out", "\Out" and
    // "C:Out" mean whatever folder the host process happens to be in.
    static bool IsFullPath(const std::wstring& path);
    // `fullPath`, as GetFullPathNameW gives it, in the form that passes MAX_PATH
    // (\\?\C:\..., \\?\UNC\server\...); one already in that form stays.
    static std::wstring ExtendedPath(const std::wstring& fullPath);

private:
    static std::size_t FileNameStart(const std::wstring& path);
    static std::size_t ExtensionStart(const std::wstring& path);
    static std::wstring AddressFileName(const std::wstring& address);
    static std::wstring WithoutQuery(const std::wstring& address);
};
