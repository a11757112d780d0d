// A tiny command-line parser: a command word, positional words and "--name value" options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace dict {

// A mistake in how the program was called; main() prints it with the usage lines, exit 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    // Splits argv (without the program name). Options take one value, given as "--name value"
    // or "--name=value"; flags take none ("--force"); "--" ends the options. Unknown options are
    // usage errors.
    static Arguments parse(const std::vector<std::string>& words,
                           const std::set<std::string>& knownOptions,
                           const std::set<std::string>& knownFlags = {});

    const std::vector<std::string>& positionals() const { return positionals_; }
    std::optional<std::string> option(const std::string& name) const;
    bool has(const std::string& name) const { return options_.count(name) != 0; }

private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::string> options_;
};

} // namespace dict
