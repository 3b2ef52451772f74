#pragma once
// Helper programs of a test (sound servers, recorders): started so that they
// die with the test, ended and waited for.

#include <string>
#include <sys/types.h>
#include <vector>

// Starts the program `arguments[0]` from the PATH with its output going to
// `log`, so that a test that fails hard leaves nothing running and no pipe of
// the test runner held open; 0 when it cannot be started.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& log);
// Sends `signal` and waits for the program's end; nothing for pid 0.
void EndProcess(pid_t pid, int signal = 15);
// Records the monitor of sink `sink` of the sound server the environment
// names into `file` (raw 16-bit stereo at 44,100 Hz) with parec, in pieces of
// 20 ms, until ended; 0 when it did not start within a few seconds.
pid_t RecordMonitor(const std::string& sink, const std::string& file);
