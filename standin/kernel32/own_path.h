// Where the stand-in finds the running executable's path.
#pragma once

namespace standin {

// Keeps argv[0] as a full path, for a system that cannot say which file the
// process runs (no /proc): a path with a slash is made absolute against the
// current folder, a bare name is looked for along PATH as the shell did.
void RememberStartPath(const char* argv0);

// The link read for the executable's path, "/proc/self/exe"; a test points it
// at nothing to see the remembered path used.
void UseOwnPathLink(const char* link);

}  // namespace standin
