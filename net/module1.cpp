#include "net/module1.h"

#include "core/numbers.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace net::Module1 {

namespace {

struct StatusRow {
    std::int32_t code;
    const char* description;
};

constexpr std::array<StatusRow, 27> kStatusTexts{{
    {0, "ip success"},
    {200, "ping timeout"},
    {11001, "ip buf too_small"},
    {11002, "ip dest net unreachable"},
    {11003, "ip dest host unreachable"},
    {11004, "ip dest prot unreachable"},
    {11005, "ip dest port unreachable"},
    {11006, "ip no resources"},
    {11007, "ip bad option"},
    {11008, "ip hw_error"},
    {11009, "ip packet too_big"},
    {11010, "ip req timed out"},
    {11011, "ip bad req"},
    {11012, "ip bad route"},
    {11013, "ip ttl expired transit"},
    {11014, "ip ttl expired reassem"},
    {11015, "ip param_problem"},
    {11016, "ip source quench"},
    {11017, "ip option too_big"},
    {11018, "ip bad destination"},
    {11019, "ip addr deleted"},
    {11020, "ip spec mtu change"},
    {11021, "ip mtu_change"},
    {11022, "ip unload"},
    {11023, "ip addr added"},
    {11050, "ip general failure"},
    {11255, "ip pending"},
}};

constexpr char kUnknownStatus[] = "unknown msg returned";

using Kind = DottedAddressError::Kind;

// One part of a dotted address: a decimal number (outer blanks allowed, an exponent form
// rounded half to even to a whole number), reduced to its low eight bits.
std::uint32_t partByte(const QString& part, const QString& text) {
    if (!core::strictNumber(part)) {
        throw DottedAddressError(
            Kind::TypeMismatch,
            QStringLiteral("Type mismatch: part \"%1\" of the address \"%2\" is not a number")
                .arg(part, text));
    }
    // strictNumber reads an out-of-range exponent as 0; read the digits again for the range.
    const double value = std::strtod(part.trimmed().toStdString().c_str(), nullptr);
    const double whole = std::isfinite(value) ? std::nearbyint(value) : value;
    if (!std::isfinite(whole) || whole < std::numeric_limits<std::int32_t>::min() ||
        whole > std::numeric_limits<std::int32_t>::max()) {
        throw DottedAddressError(
            Kind::Overflow,
            QStringLiteral("Overflow: part \"%1\" of the address \"%2\" is out of range")
                .arg(part, text));
    }
    // -1 is 0xFFFFFFFF in two's complement: its low byte is 255.
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(whole)) & 0xFFu;
}

}  // namespace

std::int32_t PingHost(EchoProbe& probe, const QString& address, IcmpEchoReply& reply) {
    const std::int32_t destination = DottedToLong(address);
    const int replies = probe.sendEcho(destination, kEchoPayload, reply, kEchoTimeoutMs);
    if (replies != 0) {
        return static_cast<std::int32_t>(reply.RoundTripTime);
    }
    // A status of the smallest 32-bit value has no positive counterpart.
    const std::int32_t status = reply.Status;
    return status == std::numeric_limits<std::int32_t>::min()
               ? std::numeric_limits<std::int32_t>::max()
               : -status;
}

std::int32_t DottedToLong(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > 4) {
        throw DottedAddressError(
            Kind::SubscriptOutOfRange,
            QStringLiteral("Subscript out of range: the address \"%1\" has more than four parts")
                .arg(text));
    }
    if (parts.size() < 4) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= partByte(parts[i], text) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

QString PingStatusText(std::int32_t code) {
    const char* description = kUnknownStatus;
    for (const StatusRow& row : kStatusTexts) {
        if (row.code == code) {
            description = row.description;
            break;
        }
    }
    return QString::number(code) + QStringLiteral(" [ ") + QLatin1String(description) +
           QStringLiteral(" ]");
}

}  // namespace net::Module1
