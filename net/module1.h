#pragma once

#include "core/failure.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace net {

/// The echo-reply record that the echo call fills: the reply header with its option block,
/// then a data area of 250 bytes, 278 bytes in all, every integer little-endian. The record
/// itself is the reply buffer: a field that the echo does not write keeps what it held.
#pragma pack(push, 1)
struct IcmpEchoReply {
    std::uint32_t Address = 0;        // host that replied, network byte order
    std::int32_t Status = 0;          // 0 success, else an IP status code
    std::uint32_t RoundTripTime = 0;  // milliseconds
    std::uint16_t DataSize = 0;       // bytes of echoed data
    std::uint16_t Reserved = 0;
    std::uint32_t DataPointer = 0;  // no 32-bit pointer here: the echo leaves it as it is
    std::uint8_t Ttl = 0;           // option block of the reply
    std::uint8_t Tos = 0;
    std::uint8_t Flags = 0;
    std::uint8_t OptionsSize = 0;
    std::uint32_t OptionsData = 0;  // left as it is, like DataPointer
    char Data[250] = {};            // the echoed data
};
#pragma pack(pop)
static_assert(sizeof(IcmpEchoReply) == 278);
static_assert(offsetof(IcmpEchoReply, Ttl) == 20);
static_assert(offsetof(IcmpEchoReply, Data) == 28);

/// IP status codes that the echo writes.
namespace ip_status {
inline constexpr std::int32_t kSuccess = 0;
inline constexpr std::int32_t kDestNetUnreachable = 11002;
inline constexpr std::int32_t kDestHostUnreachable = 11003;
inline constexpr std::int32_t kDestProtUnreachable = 11004;
inline constexpr std::int32_t kDestPortUnreachable = 11005;
inline constexpr std::int32_t kNoResources = 11006;
inline constexpr std::int32_t kPacketTooBig = 11009;
inline constexpr std::int32_t kReqTimedOut = 11010;
inline constexpr std::int32_t kBadRoute = 11012;
inline constexpr std::int32_t kTtlExpiredTransit = 11013;
inline constexpr std::int32_t kTtlExpiredReassem = 11014;
inline constexpr std::int32_t kParamProblem = 11015;
inline constexpr std::int32_t kSourceQuench = 11016;
inline constexpr std::int32_t kGeneralFailure = 11050;
}  // namespace ip_status

/// The ICMP echo of the platform: one request, one wait for our reply.
class EchoProbe {
  public:
    virtual ~EchoProbe() = default;
    /// Sends one echo request carrying `payload` to `address` (the value of DottedToLong,
    /// network byte order) and waits at most `timeoutMs` for its reply. The record is the
    /// reply buffer: on success it holds the reply with Status 0; on failure it holds the
    /// failure's status (a request that could not be sent at all included). Returns the
    /// number of replies received: 1, or 0 on failure.
    virtual int sendEcho(std::int32_t address, std::string_view payload, IcmpEchoReply& reply,
                         int timeoutMs) = 0;
};

/// What went wrong with a dotted address text.
class DottedAddressError : public core::Error {
  public:
    enum class Kind { SubscriptOutOfRange, TypeMismatch, Overflow };
    DottedAddressError(Kind kind, const QString& message) : core::Error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

/// The reachability probe of the start window.
namespace Module1 {

/// The echo request: its payload and its time-out.
inline constexpr std::string_view kEchoPayload = "Echo This";
inline constexpr int kEchoTimeoutMs = 200;

/// Sends one echo to the dotted IPv4 address and fills `reply`. Returns the reply's
/// RoundTripTime when a reply arrived, otherwise minus the Status the record then holds.
/// Throws DottedAddressError for an address text that DottedToLong refuses.
std::int32_t PingHost(EchoProbe& probe, const QString& address, IcmpEchoReply& reply);

/// The address value of dotted IPv4 text: part 1 in bits 0-7 ... part 4 in bits 24-31, taken
/// as signed; each part reduced to its low eight bits. 0 for fewer than four parts. Throws
/// DottedAddressError: a fifth part (subscript out of range), a part that is not a number
/// (type mismatch), a part beyond the 32-bit signed range (overflow).
std::int32_t DottedToLong(const QString& text);

/// "<code> [ <description> ]", for example "0 [ ip success ]".
QString PingStatusText(std::int32_t code);

}  // namespace Module1

}  // namespace net
