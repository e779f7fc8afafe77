// SPDX-License-Identifier: GPL-2.0-or-later
// Waits until a program has started reading a file afresh: until a read of
// DIR/NAME (a close after reading) comes after at least a second in which
// the file was not read, counted from the start of the wait. A program that
// reads the file in bursts, such as the gauge at each refresh, has then
// begun a whole burst after the wait began. Exits 0 once COUNT such bursts
// have begun, 1 when TIMEOUT seconds pass first.
//   readwatch DIR NAME COUNT [TIMEOUT]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto Quiet = std::chrono::seconds(1);

// A descriptor closed when it goes out of scope.
class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// How many reads of name the events in buf hold.
int readsOf(const char* buf, ssize_t length, const std::string& name)
{
    int reads = 0;
    for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buf + at);
        if (event->len > 0 && name == event->name) {
            ++reads;
        }
        at += ssize_t(sizeof(inotify_event) + event->len);
    }
    return reads;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: readwatch DIR NAME COUNT [TIMEOUT]\n");
        return 2;
    }
    const std::string name = argv[2];
    const int wanted = std::atoi(argv[3]);
    const auto deadline = Clock::now() + std::chrono::seconds(argc == 5 ? std::atoi(argv[4]) : 60);
    const Fd watch(inotify_init1(IN_CLOEXEC));
    if (watch.get() < 0 || inotify_add_watch(watch.get(), argv[1], IN_CLOSE_NOWRITE) < 0) {
        std::perror("readwatch");
        return 2;
    }
    auto lastRead = Clock::now();
    int bursts = 0;
    while (bursts < wanted) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return 1;
        }
        pollfd wait{watch.get(), POLLIN, 0};
        if (poll(&wait, 1, int(left.count())) <= 0) {
            continue;
        }
        alignas(inotify_event) char buf[4096];
        const ssize_t length = read(watch.get(), buf, sizeof buf);
        if (length <= 0 || readsOf(buf, length, name) == 0) {
            continue;
        }
        const auto now = Clock::now();
        if (now - lastRead >= Quiet) {
            ++bursts;
        }
        lastRead = now;
    }
    return 0;
}
