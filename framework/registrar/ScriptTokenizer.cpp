#include "ScriptTokenizer.h"

#include <cwctype>

RegistrarStatus ScriptTokenizer::Tokenize(const std::wstring& text, std::vector<ScriptToken>& tokens) {
    tokens.clear();
    ScriptTokenizer tokenizer(text);
    for (;;) {
        ScriptToken token;
        RegistrarStatus status = tokenizer.Next(token);
        if (!status.IsOk()) return status;
        tokens.push_back(token);
        if (token.kind == ScriptToken::Kind::End) return status;
    }
}

RegistrarStatus ScriptTokenizer::Next(ScriptToken& token) {
    SkipSpace();
    token.line = m_line;
    if (AtEnd()) {
        token.kind = ScriptToken::Kind::End;
        return RegistrarStatus::Ok();
    }
    return Peek() == L'\'' ? ReadQuoted(token) : ReadWord(token);
}

void ScriptTokenizer::SkipSpace() {
    for (; !AtEnd() && std::iswspace(static_cast<wint_t>(Peek())); ++m_position)
        if (Peek() == L'\n') ++m_line;
}

RegistrarStatus ScriptTokenizer::ReadQuoted(ScriptToken& token) {
    token.kind = ScriptToken::Kind::Quoted;
    for (++m_position; !AtEnd(); ++m_position) {
        if (Peek() == L'\n') ++m_line;
        if (Peek() != L'\'') {
            token.text += Peek();
            continue;
        }
        if (m_position + 1 < m_text.size() && m_text[m_position + 1] == L'\'') {
            token.text += L'\'';
            ++m_position;
            continue;
        }
        ++m_position;
        return RegistrarStatus::Ok();
    }
    return Failure(L"unterminated quoted text");
}

RegistrarStatus ScriptTokenizer::ReadWord(ScriptToken& token) {
    const std::size_t start = m_position;
    while (!AtEnd() && !std::iswspace(static_cast<wint_t>(Peek()))) {
        if (Peek() == L'\'') return Failure(L"quote inside a word");
        ++m_position;
    }
    token.text = m_text.substr(start, m_position - start);
    if (token.text == L"{")
        token.kind = ScriptToken::Kind::OpenBrace;
    else if (token.text == L"}")
        token.kind = ScriptToken::Kind::CloseBrace;
    else if (token.text == L"=")
        token.kind = ScriptToken::Kind::Equals;
    else
        token.kind = ScriptToken::Kind::Word;
    return RegistrarStatus::Ok();
}

RegistrarStatus ScriptTokenizer::Failure(const std::wstring& what) const {
    return RegistrarStatus::Failure(RegistryCode::kInvalidData,
                                    L"line " + std::to_wstring(m_line) + L": " + what);
}
