// Shader programs kept between runs (OpenGL program binaries), so that start-up need not compile
// them again.
#pragma once
#include <epoxy/gl.h>

#include <string>

namespace platform {

// The folder that holds the kept programs (in its "program-cache" folder): config.ini's folder, so an
// installed game keeps them with its settings and never writes to the current folder.
std::string ProgramCacheFolder();

// The program kept for these sources (everything its compilation reads), linked and ready; 0 when
// there is none that this OpenGL can use.
GLuint LoadCachedProgram(const std::string& sources);
// Keeps a linked program for the next run.
void SaveCachedProgram(GLuint program, const std::string& sources);

}  // namespace platform
