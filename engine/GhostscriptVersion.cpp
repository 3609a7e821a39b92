#include "GhostscriptVersion.h"

namespace {

// A part of more digits than this is no release number (and would overflow).
const std::size_t kMaxDigits = 6;

bool ParsePart(const std::wstring& part, unsigned long& value) {
    if (part.empty() || part.size() > kMaxDigits) return false;
    value = 0;
    for (wchar_t c : part) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + static_cast<unsigned long>(c - L'0');
    }
    return true;
}

}  // namespace

GhostscriptVersion::GhostscriptVersion(const std::wstring& text) : m_text(text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find(L'.', start);
        unsigned long value = 0;
        if (!ParsePart(text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start), value)) {
            m_parts.clear();
            return;
        }
        m_parts.push_back(value);
        if (dot == std::wstring::npos) return;
        start = dot + 1;
    }
}

int GhostscriptVersion::Compare(const GhostscriptVersion& other) const {
    const std::size_t count = m_parts.size() > other.m_parts.size() ? m_parts.size() : other.m_parts.size();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned long mine = i < m_parts.size() ? m_parts[i] : 0;
        const unsigned long theirs = i < other.m_parts.size() ? other.m_parts[i] : 0;
        if (mine != theirs) return mine < theirs ? -1 : 1;
    }
    return 0;
}

bool GhostscriptVersion::AtLeast(unsigned long major, unsigned long minor) const {
    return IsValid() && Compare(GhostscriptVersion(std::to_wstring(major) + L"." + std::to_wstring(minor))) >= 0;
}
