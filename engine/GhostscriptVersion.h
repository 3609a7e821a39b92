#pragma once
// A Ghostscript release number as its installer names its registry key
// ("9.56.1", "10.02.1"), compared numerically part by part.
#include <string>
#include <vector>

class GhostscriptVersion {
public:
    GhostscriptVersion() = default;
    explicit GhostscriptVersion(const std::wstring& text);

    // Only dotted decimal numbers are versions; anything else compares as none.
    bool IsValid() const { return !m_parts.empty(); }
    const std::wstring& Text() const { return m_text; }
    // Missing parts count as 0: "10.0" is "10.00.0".
    int Compare(const GhostscriptVersion& other) const;
    bool operator<(const GhostscriptVersion& other) const { return Compare(other) < 0; }
    bool AtLeast(unsigned long major, unsigned long minor) const;

private:
    std::wstring m_text;
    std::vector<unsigned long> m_parts;
};
