#pragma once
// Splits an expanded script into tokens. Tokens are separated by white space;
// a lone "{", "}" or "=" is punctuation, so "{7EEF...}" stays one word. A quoted
// text runs to its closing quote, in which "''" stands for one quote.
#include <cstddef>
#include <string>
#include <vector>

#include "RegistrarStatus.h"

struct ScriptToken {
    enum class Kind { Word, Quoted, OpenBrace, CloseBrace, Equals, End };
    Kind kind = Kind::End;
    std::wstring text;
    std::size_t line = 1;
};

class ScriptTokenizer {
public:
    static RegistrarStatus Tokenize(const std::wstring& text, std::vector<ScriptToken>& tokens);

private:
    explicit ScriptTokenizer(const std::wstring& text) : m_text(text) {}

    RegistrarStatus Next(ScriptToken& token);
    void SkipSpace();
    RegistrarStatus ReadQuoted(ScriptToken& token);
    RegistrarStatus ReadWord(ScriptToken& token);
    RegistrarStatus Failure(const std::wstring& what) const;
    bool AtEnd() const { return m_position >= m_text.size(); }
    wchar_t Peek() const { return m_text[m_position]; }

    const std::wstring& m_text;
    std::size_t m_position = 0;
    std::size_t m_line = 1;
};
