#pragma once
// One running copy of a program per user: a lock file in the user's runtime
// folder, and beside it a local socket on which the running copy listens, so
// that a second start can ask it to come to the front before giving up.
#include <atomic>
#include <string>
#include <thread>

namespace plat {

class InstanceLock {
public:
    // Takes the lock of that name. When another copy holds it, that copy is
    // asked to come to the front, otherCopy is set and the result is null.
    // Null with otherCopy clear: no lock could be made at all.
    static InstanceLock* acquire(const std::string& name, bool& otherCopy);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True once for each request of a later start since the last call.
    static bool takeFrontRequest();
    // $XDG_RUNTIME_DIR/brellox, or a private folder under /tmp without it.
    static std::string runtimeFolder();

private:
    InstanceLock() = default;
    void listen();

    int m_lockFd = -1;
    int m_socketFd = -1;
    std::string m_socketPath;
    std::thread m_listener;
    std::atomic<bool> m_stopping{false};
};

}  // namespace plat
