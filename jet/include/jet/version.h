// The two generations of the file format the engine reads and writes: Jet 3 (Access 97) and
// Jet 4 (Access 2000 to 2003). A header of its own, so that the file layer can name them
// without the database's interface.
#pragma once

namespace jet {

enum class Version { Jet3, Jet4 };

} // namespace jet
