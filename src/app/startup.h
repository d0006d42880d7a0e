// Program entry: prepares the state, loads the main window and runs it.
#pragma once

namespace app {

int runProgram(int argc, char** argv);

}  // namespace app
