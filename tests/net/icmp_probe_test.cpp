// The echo over the machine's ICMP sockets, each case inside a network namespace of its own:
// the echoes see only that namespace's loopback interface, and the run needs no privilege
// beyond what `unshare -n` (root) or `unshare -rn` (everybody else) gets.
#include "net/icmp_probe.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

namespace {

using net::IcmpEchoReply;
using net::Module1::PingHost;

enum class SocketKind { Ping, Raw };

/// How the namespace is set up, and what every echo sent there must come back with.
struct EchoCase {
    const char* name;
    SocketKind socket;  // the ping socket opened to the namespace's root, or only the raw one
    bool loopbackUp;    // down: there is no route at all
    bool ignoreEchoes;  // the loopback answers no echo request
    std::int32_t status;
};

void PrintTo(const EchoCase& c, std::ostream* os) {
    *os << c.name;
}

// ---- A child process in a network namespace of its own ------------------------------------

constexpr int kEchoes = 3;  // one probe sends them all: each must find its own reply

// One echo as PingHost left it. The record is packed; aligned here, its fields can be read
// in place.
struct Echo {
    alignas(4) IcmpEchoReply reply;
    std::int32_t result = 0;
};

// What the child reports through its pipe: the step that failed with its errno, or the
// echoes.
struct ChildReport {
    enum Step : int { Done, Namespace, UserMap, Loopback, PingGroup, IgnoreEchoes, Sockets };
    int step = Done;
    int error = 0;
    Echo echoes[kEchoes];
};

const char* describe(int step) {
    switch (step) {
        case ChildReport::Namespace:
            return "no network namespace can be made here, neither as `unshare -n` (root) nor "
                   "as `unshare -rn` (a user namespace of its own)";
        case ChildReport::UserMap:
            return "the user namespace's uid and gid maps could not be written";
        case ChildReport::Loopback:
            return "the namespace's loopback interface could not be brought up";
        case ChildReport::PingGroup:
            return "net.ipv4.ping_group_range could not be set in the namespace";
        case ChildReport::IgnoreEchoes:
            return "net.ipv4.icmp_echo_ignore_all could not be set in the namespace";
        default:
            return "the namespace does not offer the ICMP socket the case needs";
    }
}

bool writeFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

// `unshare -n` where the caller may (root); else `unshare -rn`: a user namespace in which the
// caller is root, owning the new network namespace.
ChildReport::Step enterOwnNetwork() {
    if (::unshare(CLONE_NEWNET) == 0) {
        return ChildReport::Done;
    }
    const std::string uid = std::to_string(::geteuid());
    const std::string gid = std::to_string(::getegid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        return ChildReport::Namespace;
    }
    if (!writeFile("/proc/self/setgroups", "deny") ||
        !writeFile("/proc/self/uid_map", "0 " + uid + " 1\n") ||
        !writeFile("/proc/self/gid_map", "0 " + gid + " 1\n")) {
        return ChildReport::UserMap;
    }
    return ChildReport::Done;
}

bool bringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    const bool up = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ::ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    if (fd >= 0) {
        ::close(fd);
    }
    return up;
}

bool socketOpens(int type) {
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd >= 0;
}

// Sets the namespace up as the case says and sends the echoes to 127.0.0.1.
ChildReport echoInOwnNetwork(const EchoCase& c) {
    ChildReport report;
    const auto failed = [&](ChildReport::Step step) {
        report.step = step;
        report.error = errno;
        return report;
    };
    if (const ChildReport::Step step = enterOwnNetwork(); step != ChildReport::Done) {
        return failed(step);
    }
    if (c.loopbackUp && !bringLoopbackUp()) {
        return failed(ChildReport::Loopback);
    }
    // The namespace's own switches; its ping group starts closed ("1 0"), as on the machine.
    if (c.socket == SocketKind::Ping &&
        !writeFile("/proc/sys/net/ipv4/ping_group_range", "0 0\n")) {
        return failed(ChildReport::PingGroup);
    }
    if (c.ignoreEchoes && !writeFile("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1\n")) {
        return failed(ChildReport::IgnoreEchoes);
    }
    const bool ping = socketOpens(SOCK_DGRAM);
    if (ping != (c.socket == SocketKind::Ping) || !socketOpens(SOCK_RAW)) {
        return failed(ChildReport::Sockets);
    }
    net::IcmpSocketProbe probe;
    for (int i = 0; i < kEchoes; ++i) {
        IcmpEchoReply& reply = report.echoes[i].reply;
        reply.Status = 99;
        reply.Ttl = 0xAB;
        reply.DataPointer = 0xABCD;  // not written by the echo
        report.echoes[i].result = PingHost(probe, QStringLiteral("127.0.0.1"), reply);
    }
    return report;
}

/// Runs the case in a child process: a user namespace can only be entered by a process of a
/// single thread, which the test program is not. Empty when the child could not report.
std::optional<ChildReport> runInChild(const EchoCase& c) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const ChildReport report = echoInOwnNetwork(c);
        const bool sent = ::write(pipe[1], &report, sizeof(report)) == sizeof(report);
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe[1]);
    ChildReport report;
    std::size_t got = 0;
    while (child > 0 && got < sizeof(report)) {
        const ssize_t n =
            ::read(pipe[0], reinterpret_cast<char*>(&report) + got, sizeof(report) - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(pipe[0]);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
        WEXITSTATUS(status) == 0 && got == sizeof(report)) {
        return report;
    }
    return std::nullopt;
}

// ---- The echoes ---------------------------------------------------------------------------

class IcmpSocketProbe : public ::testing::TestWithParam<EchoCase> {};

TEST_P(IcmpSocketProbe, EveryEchoComesBackWithItsStatus) {
    const EchoCase& c = GetParam();
    const std::optional<ChildReport> report = runInChild(c);
    ASSERT_TRUE(report.has_value()) << "the child process sent no report";
    if (report->step == ChildReport::Namespace) {
        GTEST_SKIP() << describe(report->step) << ": " << std::strerror(report->error);
    }
    ASSERT_EQ(report->step, ChildReport::Done)
        << describe(report->step) << ": " << std::strerror(report->error);

    for (int i = 0; i < kEchoes; ++i) {
        const IcmpEchoReply& reply = report->echoes[i].reply;
        const std::int32_t result = report->echoes[i].result;
        EXPECT_EQ(reply.Status, c.status) << "echo " << i;
        EXPECT_EQ(reply.DataPointer, 0xABCDu) << "echo " << i;
        if (c.status != net::ip_status::kSuccess) {
            EXPECT_EQ(result, -c.status) << "echo " << i;
            continue;
        }
        EXPECT_GE(result, 0) << "echo " << i;
        EXPECT_EQ(result, static_cast<std::int32_t>(reply.RoundTripTime)) << "echo " << i;
        const unsigned char* from = reinterpret_cast<const unsigned char*>(&reply.Address);
        EXPECT_EQ(from[0], 127) << "echo " << i;
        EXPECT_EQ(from[3], 1) << "echo " << i;
        EXPECT_EQ(reply.DataSize, 9) << "echo " << i;
        EXPECT_EQ(std::string(reply.Data, 9), "Echo This") << "echo " << i;
        // Only the raw socket sees the reply's IP header, with the namespace's default TTL;
        // the ping socket's reply leaves the option block as it was.
        EXPECT_EQ(reply.Ttl, c.socket == SocketKind::Raw ? 64 : 0xAB) << "echo " << i;
    }
}

constexpr std::int32_t kTimedOut = net::ip_status::kReqTimedOut;
constexpr std::int32_t kUnreachable = net::ip_status::kDestNetUnreachable;

INSTANTIATE_TEST_SUITE_P(
    Namespaces, IcmpSocketProbe,
    ::testing::Values(EchoCase{"ping_answered", SocketKind::Ping, true, false, 0},
                      EchoCase{"raw_answered", SocketKind::Raw, true, false, 0},
                      EchoCase{"ping_unanswered", SocketKind::Ping, true, true, kTimedOut},
                      EchoCase{"raw_unanswered", SocketKind::Raw, true, true, kTimedOut},
                      EchoCase{"ping_no_route", SocketKind::Ping, false, false, kUnreachable},
                      EchoCase{"raw_no_route", SocketKind::Raw, false, false, kUnreachable}),
    [](const auto& info) { return testing_support::caseName(info.param.name); });

}  // namespace
