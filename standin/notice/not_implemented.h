// Calls the stand-ins leave out but answer with success, as the programs
// expect, say so rather than succeed silently.
#pragma once

namespace standin {

// One line on stderr the first time each call is made. call names it, e.g.
// "RedrawWindow", and must live as long as the process (a string literal).
void SayNotImplemented(const char* call);

}  // namespace standin
