#include "child_process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& log)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid > 0 ? pid : 0;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    const int in = open("/dev/null", O_RDONLY);
    dup2(in, STDIN_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
}

void EndProcess(pid_t pid, int signal)
{
    if (pid <= 0) return;
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
}

pid_t RecordMonitor(const std::string& sink, const std::string& file)
{
    const pid_t recorder = Spawn({"parec", "--device=" + sink + ".monitor", "--format=s16le", "--rate=44100",
                                  "--channels=2", "--latency-msec=20", "--file-format=raw", file},
                                 file + ".log");
    for (int tries = 0; recorder > 0 && tries < 500; ++tries) {
        if (std::filesystem::exists(file)) return recorder;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EndProcess(recorder);
    return 0;
}
