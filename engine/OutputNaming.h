#pragma once
// Where the PDF of a presentation goes. The engine and the job share this rule.
#include <string>

class OutputNaming {
public:
    // File-name part cut before its last "."; the whole part if it has no ".".
    static std::wstring BaseName(const std::wstring& presentationPath);
    static std::wstring OutputFileName(const std::wstring& presentationPath);
    static std::wstring OutputPath(const std::wstring& outputFolder, const std::wstring& presentationPath);
    // The PDF path beside the presentation, named in the failure message.
    static std::wstring FailureReportPath(const std::wstring& presentationPath);

private:
    static std::size_t FileNameStart(const std::wstring& path);
    static std::size_t ExtensionStart(const std::wstring& path);
};
