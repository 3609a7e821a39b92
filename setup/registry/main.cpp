// wix-registry OUTPUT.wxi NAME=VALUE... SCRIPT.rgs...
// The package's registry rows for a library of the other bitness, from its own
// registration scripts (see WixRegistryRows). Runs on the build machine.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "WixRegistryRows.h"

namespace {

// The scripts and values are ASCII or UTF-8.
std::wstring FromUtf8(const std::string& bytes) {
    std::wstring out;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned long code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < bytes.size(); ++k) code = code << 6 | (bytes[i + k] & 0x3F);
        out += static_cast<wchar_t>(code);
        i += length;
    }
    return out;
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        const unsigned long code = static_cast<unsigned long>(c);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: wix-registry OUTPUT.wxi NAME=VALUE... SCRIPT.rgs...\n";
        return 2;
    }
    std::vector<std::pair<std::wstring, std::wstring>> replacements;
    std::vector<std::wstring> scripts;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals != std::string::npos) {
            replacements.emplace_back(FromUtf8(argument.substr(0, equals)),
                                      FromUtf8(argument.substr(equals + 1)));
            continue;
        }
        std::ifstream file(argument, std::ios::binary);
        if (!file) {
            std::cerr << "wix-registry: cannot read " << argument << "\n";
            return 1;
        }
        scripts.push_back(FromUtf8(std::string(std::istreambuf_iterator<char>(file), {})));
    }
    std::wstring include, error;
    if (!WixRegistryRows::Build(scripts, replacements, include, error)) {
        std::cerr << "wix-registry: " << ToUtf8(error) << "\n";
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << ToUtf8(include);
    return out.good() ? 0 : 1;
}
