#include "net/http_fetch.h"
#include "net/update_check.h"

#include "tests/net/loopback_server.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

namespace {

using testing_support::SilentServer;
using testing_support::VersionServer;

TEST(CurlFetch, ReturnsTheWholeShortBody) {
    VersionServer server;
    server.serve("5.5\r\n");
    net::CurlFetch fetch;
    const auto body = fetch.get(server.address());
    ASSERT_TRUE(body) << fetch.lastError().toStdString();
    EXPECT_EQ(*body, QByteArray("5.5\r\n"));
}

TEST(CurlFetch, AnErrorStatusIsAFailedFetchNotABody) {
    VersionServer server;
    server.serve("9.9", 404);
    net::CurlFetch fetch;
    EXPECT_FALSE(fetch.get(server.address()));
    EXPECT_TRUE(fetch.lastError().contains(QStringLiteral("404")));
    server.serve("9.9", 500);
    EXPECT_FALSE(fetch.get(server.address()));
}

TEST(CurlFetch, AHugeBodyIsCutAtTheCap) {
    VersionServer server;
    server.serve("6.0" + std::string(4 * 1024 * 1024, '\xff'));
    net::CurlFetch fetch;
    const auto body = fetch.get(server.address());
    ASSERT_TRUE(body) << fetch.lastError().toStdString();
    EXPECT_EQ(body->size(), net::CurlFetch::kDefaultBodyCap);
    EXPECT_TRUE(body->startsWith("6.0"));
}

TEST(CurlFetch, AServerThatNeverAnswersEndsTheFetchAtTheTimeOut) {
    SilentServer server;
    net::CurlFetch fetch(300);
    EXPECT_FALSE(fetch.get(server.address()));
    EXPECT_FALSE(fetch.lastError().isEmpty());
}

TEST(CurlFetch, NoServerAtAllIsAFailedFetch) {
    net::CurlFetch fetch(2000);
    // Port 9 of the loopback interface has no listener here.
    EXPECT_FALSE(fetch.get(QStringLiteral("http://127.0.0.1:9/dictversion.txt")));
    EXPECT_FALSE(fetch.get(QStringLiteral("not an address")));
    EXPECT_FALSE(fetch.get(QStringLiteral("file:///etc/hostname")));
}

struct VersionCase {
    std::string_view document;
    double version;
    bool newer;  // than 5.4
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << '"' << QByteArray(c.document.data(), c.document.size()).toPercentEncoding().constData()
        << '"';
}

class PublishedVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PublishedVersion, OnlyTheLeadingNumberCounts) {
    const QByteArray document(GetParam().document.data(),
                              static_cast<qsizetype>(GetParam().document.size()));
    EXPECT_DOUBLE_EQ(net::publishedVersion(document), GetParam().version);
    EXPECT_EQ(net::newerVersionPublished(document, 5.4), GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, PublishedVersion,
    ::testing::Values(VersionCase{"5.4", 5.4, false}, VersionCase{"5.5", 5.5, true},
                      VersionCase{"5.41", 5.41, true}, VersionCase{"abc", 0, false},
                      VersionCase{"", 0, false}, VersionCase{"5.3", 5.3, false},
                      VersionCase{"  6 is out\r\n", 6, true},
                      VersionCase{"<html>5.9</html>", 0, false},
                      VersionCase{std::string_view("5.5\0\xff\xfe", 6), 5.5, true}),
    [](const auto& info) { return testing_support::caseName(info.param.document); });

}  // namespace
