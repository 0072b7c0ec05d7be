#pragma once

// Makes SIGTERM, SIGINT and SIGHUP end the program through its event loop,
// as closing the last window does, instead of killing it where it stands: on
// the way out Qt hands the clipboard to a running clipboard manager, so the
// last snippet stays pasteable. The event loop returns 128 + the signal's
// number, the exit status a shell gives a process ended by that signal. A
// second signal of the same kind ends the program at once, should the way
// out hang. A signal the program was started to ignore (nohup) stays
// ignored. Call once the QApplication exists.
void quitOnTerminationSignals();
