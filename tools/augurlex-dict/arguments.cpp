#include "augurlex-dict/arguments.h"

namespace dict {

Arguments Arguments::parse(const std::vector<std::string>& words,
                           const std::set<std::string>& knownOptions,
                           const std::set<std::string>& knownFlags) {
    Arguments result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            result.positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> value;
        if (auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        if (knownFlags.count(name) != 0) {
            if (value)
                throw UsageError("option --" + name + " takes no value");
            value = std::string();
        } else if (knownOptions.count(name) == 0) {
            throw UsageError("unknown option --" + name);
        }
        if (!value) {
            if (i + 1 >= words.size())
                throw UsageError("option --" + name + " needs a value");
            value = words[++i];
        }
        if (!result.options_.emplace(name, *value).second)
            throw UsageError("option --" + name + " given twice");
    }
    return result;
}

std::optional<std::string> Arguments::option(const std::string& name) const {
    auto found = options_.find(name);
    if (found == options_.end())
        return std::nullopt;
    return found->second;
}

} // namespace dict
