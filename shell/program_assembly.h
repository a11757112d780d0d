// Puts the program together: the parts that attach to the main frame (browser pane and lookup
// commands, File > Update, the Help and Donate menus, the link labels, the exit screen) and the
// start-up hooks that run them.
#pragma once

namespace augurlex {

class MDI;
struct StartupHooks;

// Wires every part into a loaded frame and loads its browser pane.
void AssembleProgram(MDI& frame);

// The start-up hooks of the shipped program: the update reminder, then AssembleProgram as the
// document window's load.
StartupHooks ProgramStartupHooks();

} // namespace augurlex
