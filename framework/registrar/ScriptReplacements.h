#pragma once
// The %NAME% table of a script. Values are plain text: a single quote in a value
// is doubled when it is put into the script, so that a quoted text reads it back
// as one quote and a value can never end the text it stands in.
#include <string>
#include <utility>
#include <vector>

#include "RegistrarStatus.h"

class ScriptReplacements {
public:
    // Names compare without regard to case (scripts say %MODULE%, the table Module).
    // An earlier entry wins, so a caller's entries take precedence over later defaults.
    void Add(const std::wstring& name, const std::wstring& value);
    const std::wstring* Find(const std::wstring& name) const;
    // Replaces every %NAME% of the text; "%%" stands for one "%".
    RegistrarStatus Expand(const std::wstring& text, std::wstring& expanded) const;

    static std::wstring DoubleQuotes(const std::wstring& value);

private:
    RegistrarStatus ExpandOne(const std::wstring& text, std::size_t& position, std::wstring& expanded) const;
    static std::size_t LineOf(const std::wstring& text, std::size_t position);

    std::vector<std::pair<std::wstring, std::wstring>> m_entries;
};
