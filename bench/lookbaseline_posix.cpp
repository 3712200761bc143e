#include "lookbaseline.h"

#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>

extern char **environ;

int runLook(const QByteArray &lookPath, const QByteArray &string, const QByteArray &file)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QByteArray a0 = lookPath;
    QByteArray a1 = string;
    QByteArray a2 = file;
    char *argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, a0.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
