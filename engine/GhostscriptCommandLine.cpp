#include "GhostscriptCommandLine.h"

namespace {

// The access-permission bits that one unticked box withholds. At 128 bits each
// action has a second bit (high-quality printing, assembly, forms); extraction
// for accessibility (512) is never withheld, so screen readers keep working.
struct PermissionBits {
    unsigned copying;
    unsigned formFilling;
    unsigned changing;
    unsigned printing;
};

const PermissionBits kBits[] = {
    {16, 32, 8, 4},
    {16, 32 | 256, 8 | 1024, 4 | 2048},
};

}  // namespace

std::wstring GhostscriptCommandLine::Build(const ConversionOptions& options,
                                           const std::wstring& interpreterFolder,
                                           const std::wstring& postScriptFile,
                                           const std::wstring& parameterFile,
                                           const std::wstring& outputFile) {
    return Build(options, {interpreterFolder, L"gswin32c", GhostscriptVersion(L"8.64")}, postScriptFile,
                 parameterFile, outputFile);
}

std::wstring GhostscriptCommandLine::Build(const ConversionOptions& options,
                                           const GhostscriptInterpreter& interpreter,
                                           const std::wstring& postScriptFile,
                                           const std::wstring& parameterFile,
                                           const std::wstring& outputFile) {
    return L"\"" + interpreter.folder + interpreter.program + L"\"  " +
           L"-dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -dCompatibilityLevel=" +
           CompatibilityPiece(options) + PasswordPieces(options, parameterFile) + EncryptionPieces(options) +
           OutputFilePiece(outputFile) + ReleasePiece(interpreter.version) + L" " + QuoteArgument(parameterFile) +
           L" " + QuoteArgument(postScriptFile) + L" " + QuoteArgument(parameterFile);
}

int GhostscriptCommandLine::PermissionValue(const ConversionOptions& options) {
    unsigned value = static_cast<unsigned>(-4);
    if (options.encryptionLevel != 0 && options.encryptionLevel != 1) return -4;
    const PermissionBits& bits = kBits[options.encryptionLevel];
    if (!options.permissionCopying) value &= ~bits.copying;
    if (!options.permissionFormFilling) value &= ~bits.formFilling;
    if (!options.permissionChanging) value &= ~bits.changing;
    if (!options.permissionPrinting) value &= ~bits.printing;
    return static_cast<int>(value);
}

// Backslashes are literal unless a run of them reaches a quote: then each is
// doubled, plus one more when the quote is part of the text.
std::wstring GhostscriptCommandLine::QuoteArgument(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, L'\\');
        out += c;
        backslashes = 0;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

bool GhostscriptCommandLine::Encrypts(const ConversionOptions& options) {
    return options.securityEnabled && (options.ownerPasswordEnabled || options.userPasswordEnabled) &&
           (options.encryptionLevel == 0 || options.encryptionLevel == 1);
}

// Ghostscript refuses 128-bit keys below PDF 1.4.
std::wstring GhostscriptCommandLine::CompatibilityPiece(const ConversionOptions& options) {
    std::wstring level = options.CompatibilityLevel();
    if (Encrypts(options) && options.encryptionLevel == 1 && (level.empty() || level == L"1.3"))
        level = L"1.4";
    return level + L" ";
}

std::wstring GhostscriptCommandLine::ArgumentFile(const std::wstring& parameterFile) {
    return parameterFile.substr(0, parameterFile.find_last_of(L'\\') + 1) + L"arguments";
}

std::wstring GhostscriptCommandLine::PasswordPieces(const ConversionOptions& options,
                                                    const std::wstring& parameterFile) {
    if (PasswordArguments(options).empty()) return std::wstring();
    return QuoteArgument(L"@" + ArgumentFile(parameterFile)) + L" ";
}

std::string GhostscriptCommandLine::PasswordArguments(const ConversionOptions& options) {
    std::string text;
    if (!options.securityEnabled) return text;
    if (options.ownerPasswordEnabled) text += "-dOwnerPassword=" + OctalString(options.ownerPassword) + "\n";
    if (options.userPasswordEnabled) text += "-dUserPassword=" + OctalString(options.userPassword) + "\n";
    return text;
}

// The passwords are printable ASCII (IsPlainAscii), one byte each.
std::string GhostscriptCommandLine::OctalString(const std::wstring& text) {
    std::string out = "(";
    for (wchar_t c : text) {
        const unsigned byte = static_cast<unsigned>(c) & 0xFF;
        out += '\\';
        out += static_cast<char>('0' + (byte >> 6));
        out += static_cast<char>('0' + ((byte >> 3) & 7));
        out += static_cast<char>('0' + (byte & 7));
    }
    return out + ")";
}

std::wstring GhostscriptCommandLine::EncryptionPieces(const ConversionOptions& options) {
    if (!Encrypts(options)) return std::wstring();
    const wchar_t* key = options.encryptionLevel == 0 ? L" -dEncryptionR=2 -dKeyLength=40 "
                                                      : L"-dEncryptionR=3 -dKeyLength=128 ";
    return key + (L"-dPermissions=" + std::to_wstring(PermissionValue(options))) + L"  ";
}

// 8.64's .setpdfwrite only raised the VM threshold; 9.50 deprecated it and 9.54
// removed it (an undefined operator and an empty page). From 9.23 on, releases
// copy JPEG data through unless told not to, so the chosen image filter and
// JPEG quality would not apply.
std::wstring GhostscriptCommandLine::ReleasePiece(const GhostscriptVersion& version) {
    if (version.AtLeast(9, 50)) return L" -dPassThroughJPEGImages=false ";
    if (version.AtLeast(9, 23)) return L" -dPassThroughJPEGImages=false -c .setpdfwrite -f ";
    return L" -c .setpdfwrite -f ";
}

std::wstring GhostscriptCommandLine::OutputFilePiece(const std::wstring& outputFile) {
    return L"-sOutputFile=" + QuoteArgument(EscapePercent(outputFile)) + L" ";
}

bool GhostscriptCommandLine::IsPlainAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c < L' ' || c > L'~') return false;
    return true;
}

// pdfwrite reads "%d" and the like in OutputFile as a page-number template;
// "%%" is a plain "%".
std::wstring GhostscriptCommandLine::EscapePercent(const std::wstring& path) {
    std::wstring out;
    for (wchar_t c : path) {
        out += c;
        if (c == L'%') out += L'%';
    }
    return out;
}
