#include "CrtArguments.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::vector<std::string> CrtArguments::Split(const std::string& commandLine) {
    std::size_t at = 0;
    std::vector<std::string> argv{ProgramName(commandLine, at)};
    for (;;) {
        while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
        if (at >= commandLine.size()) return argv;
        argv.push_back(NextArgument(commandLine, at));
    }
}

std::string CrtArguments::ProgramName(const std::string& line, std::size_t& at) {
    if (!line.empty() && line[0] == '"') {
        const std::size_t end = line.find('"', 1);
        at = end == std::string::npos ? line.size() : end + 1;
        return line.substr(1, (end == std::string::npos ? line.size() : end) - 1);
    }
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return line.substr(0, at);
}

std::string CrtArguments::NextArgument(const std::string& line, std::size_t& at) {
    std::string arg;
    bool quoted = false;
    while (at < line.size()) {
        std::size_t slashes = 0;
        while (at < line.size() && line[at] == '\\') {
            ++slashes;
            ++at;
        }
        bool copy = true;
        if (at < line.size() && line[at] == '"') {
            if (slashes % 2 == 0) {
                if (quoted && at + 1 < line.size() && line[at + 1] == '"') ++at;
                else {
                    copy = false;
                    quoted = !quoted;
                }
            }
            slashes /= 2;
        }
        arg.append(slashes, '\\');
        if (at >= line.size() || (!quoted && IsBlank(line[at]))) break;
        if (copy) arg += line[at];
        ++at;
    }
    return arg;
}
