#include "net/icmp_probe.h"

#include <gtest/gtest.h>

#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

namespace {

using net::IcmpEchoReply;
using net::Module1::PingHost;

bool icmpSocketAvailable() {
    for (int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    return false;
}

// Runs `body` on a thread of its own inside a new, empty network namespace (only a loopback
// interface, down). False when the namespace cannot be made (no privilege).
bool inOwnNetworkNamespace(const std::function<void()>& body) {
    bool made = false;
    std::thread t([&] {
        if (::unshare(CLONE_NEWNET) != 0) {
            return;
        }
        made = true;
        body();
    });
    t.join();
    return made;
}

void bringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    ASSERT_EQ(::ioctl(fd, SIOCGIFFLAGS, &request), 0);
    request.ifr_flags |= IFF_UP;
    ASSERT_EQ(::ioctl(fd, SIOCSIFFLAGS, &request), 0);
    ::close(fd);
}

TEST(IcmpSocketProbe, AnEchoToTheLoopbackAddressSucceedsWithStatusZero) {
    if (!icmpSocketAvailable()) {
        GTEST_SKIP() << "no ICMP socket can be opened here";
    }
    net::IcmpSocketProbe probe;
    IcmpEchoReply reply;
    reply.Status = 99;
    reply.DataPointer = 0xABCD;  // not written by the echo
    const std::int32_t result = PingHost(probe, QStringLiteral("127.0.0.1"), reply);
    EXPECT_EQ(reply.Status, 0);
    EXPECT_GE(result, 0);
    EXPECT_EQ(result, static_cast<std::int32_t>(reply.RoundTripTime));
    const unsigned char* from = reinterpret_cast<const unsigned char*>(&reply.Address);
    EXPECT_EQ(from[0], 127);
    EXPECT_EQ(from[3], 1);
    EXPECT_EQ(reply.DataSize, 9);
    EXPECT_EQ(std::string(reply.Data, 9), "Echo This");
    EXPECT_EQ(reply.DataPointer, 0xABCDu);
}

TEST(IcmpSocketProbe, RepeatedEchoesEachFindTheirOwnReply) {
    if (!icmpSocketAvailable()) {
        GTEST_SKIP() << "no ICMP socket can be opened here";
    }
    net::IcmpSocketProbe probe;
    for (int i = 0; i < 3; ++i) {
        IcmpEchoReply reply;
        reply.Status = 99;
        EXPECT_GE(PingHost(probe, QStringLiteral("127.0.0.1"), reply), 0);
        EXPECT_EQ(reply.Status, 0);
    }
}

TEST(IcmpSocketProbe, AnEchoThatNobodyAnswersTimesOutWithANonZeroStatus) {
    IcmpEchoReply reply;
    std::int32_t result = 0;
    const bool made = inOwnNetworkNamespace([&] {
        bringLoopbackUp();
        // This namespace's own switch: its loopback now ignores every echo request.
        std::ofstream(std::string("/proc/sys/net/ipv4/icmp_echo_ignore_all")) << "1\n";
        if (!icmpSocketAvailable()) {
            return;
        }
        net::IcmpSocketProbe probe;
        result = PingHost(probe, QStringLiteral("127.0.0.1"), reply);
    });
    if (!made || result == 0) {
        GTEST_SKIP() << "no network namespace or no ICMP socket here";
    }
    EXPECT_EQ(reply.Status, net::ip_status::kReqTimedOut);
    EXPECT_EQ(result, -net::ip_status::kReqTimedOut);
}

TEST(IcmpSocketProbe, AnEchoThatCannotBeSentFailsWithTheNetworkUnreachable) {
    IcmpEchoReply reply;
    std::int32_t result = 0;
    const bool made = inOwnNetworkNamespace([&] {
        if (!icmpSocketAvailable()) {
            return;
        }
        net::IcmpSocketProbe probe;  // the loopback interface is down: no route at all
        result = PingHost(probe, QStringLiteral("127.0.0.1"), reply);
    });
    if (!made || result == 0) {
        GTEST_SKIP() << "no network namespace or no ICMP socket here";
    }
    EXPECT_EQ(reply.Status, net::ip_status::kDestNetUnreachable);
    EXPECT_EQ(result, -net::ip_status::kDestNetUnreachable);
}

}  // namespace
