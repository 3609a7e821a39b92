#include "ShimLog.h"

#include "TestFiles.h"

std::vector<std::string> ShimLog::LastRun(const std::wstring& log) {
    std::string text = TestFiles::Read(log);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const std::size_t newline = text.rfind('\n');
    std::vector<std::string> fields(1);
    for (std::size_t i = newline == std::string::npos ? 0 : newline + 1; i < text.size(); ++i) {
        if (text[i] == '\t') {
            fields.emplace_back();
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            const char escaped = text[++i];
            fields.back() += escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped;
        } else {
            fields.back() += text[i];
        }
    }
    return fields;
}

bool ShimLog::IsPlainAscii(const std::string& text) {
    for (char c : text)
        if (c < ' ' || c > '~') return false;
    return true;
}
