#include "support/Failures.h"

#include "core/platform/CrashPoints.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelmar::test {

void withFileSizeLimit(long maxBytes, const std::function<void()>& body) {
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = static_cast<rlim_t>(maxBytes);
    setrlimit(RLIMIT_FSIZE, &limited);
    try {
        body();
    } catch (...) {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        throw;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

bool killedAt(const char* step, const std::function<void()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        setCrashPointHandler([step](const char* reached) {
            if (std::strcmp(reached, step) == 0)
                ::kill(::getpid(), SIGKILL);
        });
        try {
            body();
        } catch (...) {
            _exit(251);
        }
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return false;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

int asUnprivilegedUser(const std::function<int()>& body) {
    if (geteuid() != 0)
        return body();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(250);
        // Nothing may leave the child but its exit code: it must not go on with the tests.
        try {
            _exit(body());
        } catch (...) {
            _exit(251);
        }
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void withFewDescriptors(const std::function<void()>& body) {
    struct rlimit old {};
    getrlimit(RLIMIT_NOFILE, &old);
    // Use up every descriptor below the limit so the next open fails.
    std::vector<int> held;
    struct rlimit limited = old;
    limited.rlim_cur = 64;
    setrlimit(RLIMIT_NOFILE, &limited);
    for (;;) {
        const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            break;
        held.push_back(fd);
    }
    try {
        body();
    } catch (...) {
        for (int fd : held)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &old);
        throw;
    }
    for (int fd : held)
        ::close(fd);
    setrlimit(RLIMIT_NOFILE, &old);
}

} // namespace zelmar::test
