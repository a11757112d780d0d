#include "augurlex-dict/messages.h"

#include "augurlex-dict/commands.h"
#include "text/printable_text.h"

#include <string>

namespace dict {

void tellUser(std::FILE* err, std::string_view message) {
    const std::string line = "augurlex-dict: " + text::printableText(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), err);
}

int cannotWriteOutput(std::FILE* err) {
    tellUser(err, "cannot write the output");
    return kCannotWrite;
}

} // namespace dict
