// Splitting an open command into its program.
#include "check/command_program.h"

namespace {

// A bare name is looked for as CreateProcess looks for it.
std::string located(SystemView& system, const std::string& program) {
    std::string found;
    if (program.find_first_of("\\/:") == std::string::npos && system.searchProgram(program, found)) return found;
    return program;
}

std::string firstProgram(SystemView& system, const std::string& command) {
    std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos) return std::string();
    if (command[start] == '"') {
        const std::size_t close = command.find('"', start + 1);
        return command.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
    }
    const std::string rest = command.substr(start);
    for (std::size_t blank = rest.find(' '); blank != std::string::npos; blank = rest.find(' ', blank + 1))
        if (system.isFile(rest.substr(0, blank))) return rest.substr(0, blank);
    if (system.isFile(rest)) return rest;
    return rest.substr(0, rest.find(' '));
}

}  // namespace

std::string commandProgram(SystemView& system, const std::string& command) {
    const std::string program = firstProgram(system, command);
    return program.empty() ? program : located(system, program);
}
