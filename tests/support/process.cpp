// Runs another program and collects what it writes on standard output.
#include "tests/support/process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace testsupport {

namespace {

constexpr int exec_failed_status = 127;

[[noreturn]] void exec_child(const std::vector<std::string>& argv, int stdout_fd) {
    dup2(stdout_fd, STDOUT_FILENO);
    close(stdout_fd);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(exec_failed_status);
}

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    return text;
}

} // namespace

ProcessResult run_process(const std::vector<std::string>& argv) {
    ProcessResult result;
    if (argv.empty()) return result;
    int fds[2];
    if (pipe(fds) != 0) return result;
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        close(fds[0]);
        exec_child(argv, fds[1]);
    }
    close(fds[1]);
    result.output = read_all(fds[0]);
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    return result;
}

} // namespace testsupport
