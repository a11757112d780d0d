#include "augurlex-dict/commands.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    return dict::runCommandLine(words, stdout, stderr);
}
