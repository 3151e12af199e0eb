// A null-modem cable between two pseudo-terminals, for the Windows port test
// under Wine: whatever one end's program writes, the other end's reads. Wine
// makes each terminal a COM port through a dosdevices link.
//
//   ptypair DIR    prints the two terminals' paths, one a line, then relays until
//                  the file DIR/hangup appears (both lines then hang up) or a minute
//                  has passed.
//
// Built for the machine that runs Wine, not for Windows. POSIX only.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
struct Terminal {
    int master = -1;
    int slave = -1;  // held open, so the line stays up until the hang-up
    std::string path;
};

bool openTerminal(Terminal& t)
{
    t.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (t.master < 0 || ::grantpt(t.master) != 0 || ::unlockpt(t.master) != 0)
        return false;
    t.path = ::ptsname(t.master);
    t.slave = ::open(t.path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (t.slave < 0 || ::tcgetattr(t.slave, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);  // every byte is data: no echo, no CR mapping, no XON/XOFF
    return ::tcsetattr(t.slave, TCSANOW, &tio) == 0;
}

// Moves what `from` holds to `to`; false when the line is gone.
bool relay(int from, int to)
{
    char buf[256];
    const ssize_t n = ::read(from, buf, sizeof buf);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR;
    for (ssize_t done = 0; done < n;) {
        const ssize_t w = ::write(to, buf + done, size_t(n - done));
        if (w < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        done += w > 0 ? w : 0;
    }
    return n > 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ptypair DIR\n");
        return 2;
    }
    const std::string hangup = std::string(argv[1]) + "/hangup";
    Terminal a, b;
    if (!openTerminal(a) || !openTerminal(b)) {
        std::perror("ptypair");
        return 1;
    }
    std::printf("%s\n%s\n", a.path.c_str(), b.path.c_str());
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    struct stat st {};
    while (std::chrono::steady_clock::now() < end && ::stat(hangup.c_str(), &st) != 0) {
        pollfd fds[2] = {{a.master, POLLIN, 0}, {b.master, POLLIN, 0}};
        if (::poll(fds, 2, 10) <= 0)
            continue;
        if ((fds[0].revents & POLLIN) && !relay(a.master, b.master))
            break;
        if ((fds[1].revents & POLLIN) && !relay(b.master, a.master))
            break;
    }
    for (int fd : {a.slave, b.slave, a.master, b.master})
        ::close(fd);
    return 0;
}
