// The shader compiler's code between compiles. The OpenGL driver compiles a shader the first time a
// state is drawn, with a compiler (LLVM) whose code pages then stay in the game's resident memory
// although nothing runs them until the next new state.
#pragma once

namespace platform {

// Lets go of the resident pages of the shader compiler's executable code (the executable segments of
// a loaded libLLVM). They are unchanged copies of the library file, so the next compile reads them
// back from the system's file cache. Nothing happens when no such library is loaded.
void ReleaseIdleCompilerCode();

}  // namespace platform
