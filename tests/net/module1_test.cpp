#include "net/module1.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace {

using net::DottedAddressError;
using net::IcmpEchoReply;
using net::Module1::DottedToLong;
using net::Module1::PingHost;
using net::Module1::PingStatusText;

std::array<int, 4> bytesOf(std::int32_t value) {
    std::array<unsigned char, 4> b{};
    std::memcpy(b.data(), &value, 4);
    return {b[0], b[1], b[2], b[3]};
}

struct DottedCase {
    const char* text;
    std::array<int, 4> bytes;
};

void PrintTo(const DottedCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class DottedToLongValue : public ::testing::TestWithParam<DottedCase> {};

TEST_P(DottedToLongValue, StoresThePartsInDottedOrderFromTheLowestByteUp) {
    EXPECT_EQ(bytesOf(DottedToLong(QString::fromUtf8(GetParam().text))), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, DottedToLongValue,
    ::testing::Values(DottedCase{"1.2.3.4", {1, 2, 3, 4}}, DottedCase{"127.0.0.1", {127, 0, 0, 1}},
                      DottedCase{"1.2.3.300", {1, 2, 3, 44}}, DottedCase{"256.2.3.4", {0, 2, 3, 4}},
                      DottedCase{"-1.2.3.4", {255, 2, 3, 4}}, DottedCase{" 9 .9.9.9", {9, 9, 9, 9}},
                      DottedCase{"1.2.3", {0, 0, 0, 0}}, DottedCase{"", {0, 0, 0, 0}},
                      DottedCase{"a.b", {0, 0, 0, 0}}),
    [](const auto& info) { return testing_support::caseName(info.param.text); });

TEST(DottedToLong, AFourthPartOf128OrMoreGivesANegativeValue) {
    EXPECT_LT(DottedToLong(QStringLiteral("1.2.3.200")), 0);
    EXPECT_EQ(DottedToLong(QStringLiteral("255.255.255.255")), -1);
}

struct ErrorCase {
    const char* text;
    DottedAddressError::Kind kind;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class DottedToLongError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(DottedToLongError, StopsWithItsKindOfError) {
    try {
        DottedToLong(QString::fromUtf8(GetParam().text));
        FAIL() << "no error for " << GetParam().text;
    } catch (const DottedAddressError& e) {
        EXPECT_EQ(e.kind(), GetParam().kind) << e.what();
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().text))) << e.what();
    }
}

using Kind = DottedAddressError::Kind;
INSTANTIATE_TEST_SUITE_P(BadAddresses, DottedToLongError,
                         ::testing::Values(ErrorCase{"1.2.3.4.5", Kind::SubscriptOutOfRange},
                                           ErrorCase{"1.2.3.4.", Kind::SubscriptOutOfRange},
                                           ErrorCase{"x.y.z.w.v", Kind::SubscriptOutOfRange},
                                           ErrorCase{"1.2.x.4", Kind::TypeMismatch},
                                           ErrorCase{"1..3.4", Kind::TypeMismatch},
                                           ErrorCase{"1.2.3.", Kind::TypeMismatch},
                                           ErrorCase{"1.2.3.2147483648", Kind::Overflow},
                                           ErrorCase{"1.2.3.-2147483649", Kind::Overflow},
                                           ErrorCase{"1.2.3.1e400", Kind::Overflow}),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.text);
                         });

TEST(DottedToLong, TheEdgesOfThe32BitRangeAreNumbers) {
    EXPECT_EQ(bytesOf(DottedToLong(QStringLiteral("2147483647.0.0.-2147483648"))),
              (std::array<int, 4>{255, 0, 0, 0}));
}

TEST(PingStatusText, GivesTheCodeAndItsDescription) {
    EXPECT_EQ(PingStatusText(0), QStringLiteral("0 [ ip success ]"));
    EXPECT_EQ(PingStatusText(11010), QStringLiteral("11010 [ ip req timed out ]"));
    EXPECT_EQ(PingStatusText(200), QStringLiteral("200 [ ping timeout ]"));
    EXPECT_EQ(PingStatusText(11014), QStringLiteral("11014 [ ip ttl expired reassem ]"));
    EXPECT_EQ(PingStatusText(11255), QStringLiteral("11255 [ ip pending ]"));
    EXPECT_EQ(PingStatusText(201), QStringLiteral("201 [ unknown msg returned ]"));
    EXPECT_EQ(PingStatusText(-1), QStringLiteral("-1 [ unknown msg returned ]"));
    EXPECT_EQ(PingStatusText(11024), QStringLiteral("11024 [ unknown msg returned ]"));
}

/// An echo call that writes what the test scripts into the record.
class ScriptedProbe final : public net::EchoProbe {
  public:
    int replies = 0;
    std::int32_t status = 0;
    std::uint32_t roundTrip = 0;
    bool writeStatus = true;
    // What the call was given.
    std::int32_t address = 0;
    std::string payload;
    int timeoutMs = 0;

    int sendEcho(std::int32_t to, std::string_view data, IcmpEchoReply& reply,
                 int timeout) override {
        address = to;
        payload = std::string(data);
        timeoutMs = timeout;
        if (writeStatus) {
            reply.Status = status;
        }
        if (replies != 0) {
            reply.RoundTripTime = roundTrip;
        }
        return replies;
    }
};

TEST(PingHost, SendsNineBytesOfEchoThisToTheAddressWithA200MsTimeOut) {
    ScriptedProbe probe;
    probe.replies = 1;
    IcmpEchoReply reply;
    PingHost(probe, QStringLiteral("1.2.3.4"), reply);
    EXPECT_EQ(bytesOf(probe.address), (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(probe.payload, "Echo This");
    EXPECT_EQ(probe.payload.size(), 9u);
    EXPECT_EQ(probe.timeoutMs, 200);
}

TEST(PingHost, ASuccessfulEchoReturnsTheRoundTripTimeEvenWhenItIsZero) {
    ScriptedProbe probe;
    probe.replies = 1;
    IcmpEchoReply reply;
    probe.roundTrip = 17;
    EXPECT_EQ(PingHost(probe, QStringLiteral("127.0.0.1"), reply), 17);
    probe.roundTrip = 0;
    EXPECT_EQ(PingHost(probe, QStringLiteral("127.0.0.1"), reply), 0);
    EXPECT_EQ(reply.Status, 0);
}

TEST(PingHost, AFailedEchoReturnsMinusTheStatusAndTheRecordKeepsWhatItHeld) {
    ScriptedProbe probe;
    probe.status = 11010;
    IcmpEchoReply reply;
    reply.RoundTripTime = 5;
    reply.Address = 0x01020304;
    reply.Data[0] = 'x';
    EXPECT_EQ(PingHost(probe, QStringLiteral("127.0.0.1"), reply), -11010);
    EXPECT_EQ(reply.Status, 11010);
    EXPECT_EQ(reply.RoundTripTime, 5u);
    EXPECT_EQ(reply.Address, 0x01020304u);
    EXPECT_EQ(reply.Data[0], 'x');

    // A failure that writes no status leaves the record's earlier one in the result.
    probe.writeStatus = false;
    reply.Status = 42;
    EXPECT_EQ(PingHost(probe, QStringLiteral("127.0.0.1"), reply), -42);
}

TEST(PingHost, ABadAddressStopsBeforeAnyEchoIsSent) {
    ScriptedProbe probe;
    IcmpEchoReply reply;
    EXPECT_THROW(PingHost(probe, QStringLiteral("1.2.3.4.5"), reply), DottedAddressError);
    EXPECT_TRUE(probe.payload.empty());
}

}  // namespace
