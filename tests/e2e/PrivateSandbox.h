#pragma once

#include "ConnectionSettings.h"

#include <string>
#include <sys/types.h>

namespace flagwright::e2e {

// A sandbox instance of a test's own, seeded afresh, on a port of its own and without the
// browser, so it runs beside the shared instance and can be stopped like a hung server.
class PrivateSandbox {
public:
    PrivateSandbox();
    ~PrivateSandbox();
    PrivateSandbox(const PrivateSandbox&) = delete;
    PrivateSandbox& operator=(const PrivateSandbox&) = delete;

    // The fixed login, reaching this instance at its port.
    ConnectionSettings Instance() const;
    std::string DatabaseFile(const std::string& name) const;
    // How many statements it has received so far.
    std::size_t Statements() const;
    // SIGSTOP and SIGCONT: a server that stops answering and resumes.
    void Pause() const;
    void Resume() const;

private:
    std::string ReadyFile() const;

    std::string dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace flagwright::e2e
