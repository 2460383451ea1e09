#include "net/icmp_probe.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace net {

namespace {

constexpr std::uint8_t kEchoReplyType = 0;
constexpr std::uint8_t kDestUnreachableType = 3;
constexpr std::uint8_t kSourceQuenchType = 4;
constexpr std::uint8_t kEchoRequestType = 8;
constexpr std::uint8_t kTimeExceededType = 11;
constexpr std::uint8_t kParameterProblemType = 12;
constexpr std::size_t kIcmpHeader = 8;
constexpr std::size_t kMinIpHeader = 20;

using Clock = std::chrono::steady_clock;

class Socket {
  public:
    Socket() {
        // The ping socket needs no privilege where the system's ping group allows it; the
        // raw socket needs root and also sees every other ICMP packet of the machine.
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ < 0) {
            fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
            raw_ = true;
        }
    }
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool open() const { return fd_ >= 0; }
    bool raw() const { return raw_; }
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
    bool raw_ = false;
};

std::uint16_t checksum(const std::uint8_t* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    }
    if (size % 2 != 0) {
        sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum);
}

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::int32_t statusOfSendError(int error) {
    switch (error) {
        case ENETUNREACH:
        case ENETDOWN:
            return ip_status::kDestNetUnreachable;
        case EHOSTUNREACH:
        case EHOSTDOWN:
            return ip_status::kDestHostUnreachable;
        case EMSGSIZE:
            return ip_status::kPacketTooBig;
        case ENOBUFS:
        case ENOMEM:
            return ip_status::kNoResources;
        default:
            return ip_status::kGeneralFailure;
    }
}

std::int32_t statusOfIcmpError(std::uint8_t type, std::uint8_t code) {
    switch (type) {
        case kDestUnreachableType:
            switch (code) {
                case 0:
                case 6:
                case 9:
                case 11:
                    return ip_status::kDestNetUnreachable;
                case 2:
                    return ip_status::kDestProtUnreachable;
                case 3:
                    return ip_status::kDestPortUnreachable;
                case 4:
                    return ip_status::kPacketTooBig;
                case 5:
                    return ip_status::kBadRoute;
                default:
                    return ip_status::kDestHostUnreachable;
            }
        case kSourceQuenchType:
            return ip_status::kSourceQuench;
        case kTimeExceededType:
            return code == 1 ? ip_status::kTtlExpiredReassem : ip_status::kTtlExpiredTransit;
        default:
            return ip_status::kParamProblem;
    }
}

// One packet the socket received, split into what the record needs.
struct Packet {
    const std::uint8_t* icmp = nullptr;
    std::size_t icmpSize = 0;
    std::uint32_t source = 0;  // network byte order
    bool haveIpHeader = false;
    std::uint8_t ttl = 0;
    std::uint8_t tos = 0;
    std::uint8_t flags = 0;
};

// A raw socket hands over the IP header first; a ping socket only the ICMP message.
bool split(const std::uint8_t* data, std::size_t size, bool raw, std::uint32_t source,
           Packet& packet) {
    packet.source = source;
    if (!raw) {
        packet.icmp = data;
        packet.icmpSize = size;
        return size >= kIcmpHeader;
    }
    if (size < kMinIpHeader) {
        return false;
    }
    const std::size_t headerSize = static_cast<std::size_t>(data[0] & 0x0F) * 4;
    if (headerSize < kMinIpHeader || size < headerSize + kIcmpHeader) {
        return false;
    }
    packet.haveIpHeader = true;
    packet.tos = data[1];
    packet.flags = static_cast<std::uint8_t>(read16(data + 6) >> 13);
    packet.ttl = data[8];
    packet.icmp = data + headerSize;
    packet.icmpSize = size - headerSize;
    return true;
}

}  // namespace

IcmpSocketProbe::IcmpSocketProbe()
    : identifier_(static_cast<std::uint16_t>(std::random_device{}() & 0xFFFF)) {}

int IcmpSocketProbe::sendEcho(std::int32_t address, std::string_view payload, IcmpEchoReply& reply,
                              int timeoutMs) {
    Socket socket;
    if (!socket.open()) {
        // Nothing can be sent: the echo failed, and says so (the caller counts it offline).
        reply.Status = ip_status::kGeneralFailure;
        return 0;
    }
    const std::uint16_t sequence = ++sequence_;
    std::vector<std::uint8_t> request(kIcmpHeader + payload.size());
    request[0] = kEchoRequestType;
    request[4] = static_cast<std::uint8_t>(identifier_ >> 8);
    request[5] = static_cast<std::uint8_t>(identifier_);
    request[6] = static_cast<std::uint8_t>(sequence >> 8);
    request[7] = static_cast<std::uint8_t>(sequence);
    std::memcpy(request.data() + kIcmpHeader, payload.data(), payload.size());
    const std::uint16_t sum = checksum(request.data(), request.size());
    request[2] = static_cast<std::uint8_t>(sum >> 8);
    request[3] = static_cast<std::uint8_t>(sum);

    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    // The address value already holds its bytes in network order.
    std::memcpy(&destination.sin_addr.s_addr, &address, sizeof(address));

    const Clock::time_point sent = Clock::now();
    const Clock::time_point deadline = sent + std::chrono::milliseconds(timeoutMs);
    if (::sendto(socket.fd(), request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&destination), sizeof(destination)) < 0) {
        reply.Status = statusOfSendError(errno);
        return 0;
    }

    std::vector<std::uint8_t> buffer(65536);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd wait{socket.fd(), POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            if (ready < 0) {
                reply.Status = ip_status::kGeneralFailure;
                return 0;
            }
            break;
        }
        sockaddr_in from{};
        socklen_t fromSize = sizeof(from);
        const ssize_t got = ::recvfrom(socket.fd(), buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            reply.Status = ip_status::kGeneralFailure;
            return 0;
        }
        Packet packet;
        if (!split(buffer.data(), static_cast<std::size_t>(got), socket.raw(), from.sin_addr.s_addr,
                   packet)) {
            continue;
        }
        const std::uint8_t* icmp = packet.icmp;
        // A ping socket rewrites the identifier and delivers only its own replies.
        const bool ours = !socket.raw() || read16(icmp + 4) == identifier_;
        if (icmp[0] == kEchoReplyType && ours && read16(icmp + 6) == sequence) {
            const std::size_t dataSize = packet.icmpSize - kIcmpHeader;
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent);
            reply.Address = packet.source;
            reply.Status = ip_status::kSuccess;
            reply.RoundTripTime = static_cast<std::uint32_t>(elapsed.count());
            reply.DataSize = static_cast<std::uint16_t>(std::min<std::size_t>(dataSize, 0xFFFF));
            std::memcpy(reply.Data, icmp + kIcmpHeader, std::min(dataSize, sizeof(reply.Data)));
            if (packet.haveIpHeader) {
                reply.Ttl = packet.ttl;
                reply.Tos = packet.tos;
                reply.Flags = packet.flags;
            }
            reply.OptionsSize = 0;
            return 1;
        }
        // An error report about our request: it carries our request's IP header and the first
        // eight bytes of our echo message.
        const bool errorReport = icmp[0] == kDestUnreachableType || icmp[0] == kSourceQuenchType ||
                                 icmp[0] == kTimeExceededType || icmp[0] == kParameterProblemType;
        if (!errorReport || !socket.raw() ||
            packet.icmpSize < kIcmpHeader + kMinIpHeader + kIcmpHeader) {
            continue;
        }
        const std::uint8_t* inner = icmp + kIcmpHeader;
        const std::size_t innerHeader = static_cast<std::size_t>(inner[0] & 0x0F) * 4;
        if (innerHeader < kMinIpHeader ||
            packet.icmpSize < kIcmpHeader + innerHeader + kIcmpHeader || inner[9] != IPPROTO_ICMP ||
            std::memcmp(inner + 16, &address, sizeof(address)) != 0) {
            continue;
        }
        const std::uint8_t* original = inner + innerHeader;
        if (original[0] == kEchoRequestType && read16(original + 4) == identifier_ &&
            read16(original + 6) == sequence) {
            reply.Address = packet.source;
            reply.Status = statusOfIcmpError(icmp[0], icmp[1]);
            return 0;
        }
    }
    reply.Status = ip_status::kReqTimedOut;
    return 0;
}

}  // namespace net
