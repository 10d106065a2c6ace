#include "platform/InstanceLock.h"

#include "platform/Window.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<int> g_frontRequests{0};

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Tells the copy that listens on the socket to come forward.
void askToComeForward(const std::string& socketPath)
{
    sockaddr_un address;
    if (!fillAddress(socketPath, address))
        return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const char request[] = "front\n";
        [[maybe_unused]] const ssize_t n = write(fd, request, sizeof request - 1);
    }
    close(fd);
}

}  // namespace

std::string InstanceLock::runtimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? std::string(runtime) + "/brellox"
                                             : "/tmp/brellox-" + std::to_string(static_cast<long>(getuid()));
    mkdir(folder.c_str(), 0700);
    return folder;
}

InstanceLock* InstanceLock::acquire(const std::string& name, bool& otherCopy)
{
    otherCopy = false;
    const std::string folder = runtimeFolder();
    const std::string lockPath = folder + "/" + name + ".lock";
    const std::string socketPath = folder + "/" + name + ".sock";
    const int lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0)
        return nullptr;
    if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        close(lockFd);
        otherCopy = true;
        askToComeForward(socketPath);
        return nullptr;
    }
    auto* lock = new InstanceLock;
    lock->m_lockFd = lockFd;
    lock->m_socketPath = socketPath;
    // A socket left by a copy that crashed is stale: the lock is ours now.
    unlink(socketPath.c_str());
    sockaddr_un address;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && fillAddress(socketPath, address) &&
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 4) == 0) {
        lock->m_socketFd = fd;
        lock->m_listener = std::thread([lock] { lock->listen(); });
    } else if (fd >= 0) {
        close(fd);
    }
    return lock;
}

void InstanceLock::listen()
{
    while (!m_stopping) {
        const int client = accept(m_socketFd, nullptr, nullptr);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        char buffer[16];
        const ssize_t n = read(client, buffer, sizeof buffer);
        close(client);
        if (m_stopping)
            return;
        if (n > 0 && std::strncmp(buffer, "front", 5) == 0) {
            ++g_frontRequests;
            wakeMessageQueue();
        }
    }
}

InstanceLock::~InstanceLock()
{
    m_stopping = true;
    if (m_socketFd >= 0) {
        shutdown(m_socketFd, SHUT_RDWR);
        // accept may not return on shutdown of a listening socket everywhere:
        // a connection of our own wakes it.
        askToComeForward(m_socketPath);
        if (m_listener.joinable())
            m_listener.join();
        close(m_socketFd);
        unlink(m_socketPath.c_str());
    }
    if (m_lockFd >= 0) {
        flock(m_lockFd, LOCK_UN);
        close(m_lockFd);
    }
}

bool InstanceLock::takeFrontRequest()
{
    int pending = g_frontRequests.load();
    while (pending > 0) {
        if (g_frontRequests.compare_exchange_weak(pending, 0))
            return true;
    }
    return false;
}

}  // namespace plat
