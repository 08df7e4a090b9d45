// Runs a program as a user's shell would and collects what it leaves: exit
// status, standard output and standard error. The child starts in a folder
// of the caller's choice with a few extra environment entries.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// exe is looked up on PATH when it has no slash. Output is collected in
// files beside folder (folder.out, folder.err); stdoutPath sends standard
// output elsewhere instead, such as /dev/full.
inline ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args,
                                const std::string& folder,
                                const std::vector<std::string>& extraEnv = {},
                                const std::string& stdoutPath = {}) {
    const std::string capturedOut = folder + ".out";
    const std::string capturedErr = folder + ".err";
    const std::string outPath = stdoutPath.empty() ? capturedOut : stdoutPath;

    std::vector<std::string> argStore{exe};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e)
        envStore.emplace_back(*e);
    envStore.insert(envStore.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, capturedErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    ProcessResult r;
    const int rc = posix_spawnp(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return r;
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    auto slurp = [](const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    };
    if (stdoutPath.empty())
        r.out = slurp(capturedOut);
    r.err = slurp(capturedErr);
    return r;
}
