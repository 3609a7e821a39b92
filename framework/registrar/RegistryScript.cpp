#include "RegistryScript.h"

#include <new>

#include "ScriptParser.h"
#include "ScriptTokenizer.h"

RegistrarStatus RegistryScript::Parse(const std::wstring& text, const ScriptReplacements& replacements,
                                      RegistryScript& script) {
    script.roots.clear();
    try {
        std::wstring expanded;
        RegistrarStatus status = replacements.Expand(text, expanded);
        std::vector<ScriptToken> tokens;
        if (status.IsOk()) status = ScriptTokenizer::Tokenize(expanded, tokens);
        if (status.IsOk()) status = ScriptParser::Parse(tokens, script);
        return status;
    } catch (const std::bad_alloc&) {
        script.roots.clear();
        return RegistrarStatus::Failure(RegistryCode::kOutOfMemory,
                                        L"out of memory while parsing the script");
    }
}
