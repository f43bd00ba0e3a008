#pragma once
// SIGTERM and SIGHUP (the end of the desktop session) ask the program to end normally: the
// handler only records the request; the main frame sees it on its next poll and runs the exit
// without its question.

// Installs the handlers for SIGTERM and SIGHUP.
void InstallExitSignalHandlers();
// True once either signal has arrived (until cleared).
bool ExitSignalReceived();
void ClearExitSignal();
// Records a request as the handler does (for tests).
void RaiseExitRequest();
