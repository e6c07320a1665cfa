// What went wrong before the show, told where a person on Windows looks: a
// message box, since no one sees a windowed program's stderr there, and the
// log. A run with nothing wrong shows no box and logs nothing more.
#pragma once

void TellStartProblems();
