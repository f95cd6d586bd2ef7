// The server over real loopback connections: how a peer's way of going away reaches
// the owner (quietly, or as an error that says what kind of failure it was).
#include "adapters/qt/socket_server.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>
#include <cerrno>
#include <ostream>
#include <vector>

#include "testing/loopback.h"

namespace zelmor::adapters {
namespace {

using Kind = platform::SocketFailure::Kind;

struct Ending {
  const char* Name;
  bool Reset;          // close with a zero linger, so the peer sees a reset
  bool ErrorExpected;  // the owner hears of it through ClientError
  Kind ExpectedKind;
  int ExpectedCode;
};

// Names the case in test names and messages (the default would print its bytes).
void PrintTo(const Ending& e, std::ostream* os) { *os << e.Name; }

class PeerGoesAway : public ::testing::TestWithParam<Ending> {};

TEST_P(PeerGoesAway, ReachesTheOwnerAsItShould) {
  const Ending& e = GetParam();
  SocketServer server;
  server.Open(0);
  ASSERT_TRUE(server.Active());
  struct Heard {
    QString Message;
    platform::SocketFailure Failure;
  };
  std::vector<Heard> errors;
  QObject::connect(&server, &SocketServer::ClientError, [&](const QString& m, const platform::SocketFailure& f) {
    errors.push_back({m, f});
  });

  const int fd = zelmor::testing::ConnectLoopback(server.Port());
  ASSERT_GE(fd, 0);
  // Accepted first: a reset while still queued never reaches the server.
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.ClientCount() == 1; }, 10000));
  if (e.Reset) {
    linger l{1, 0};
    ASSERT_EQ(::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l), 0);
  }
  ::close(fd);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.ClientCount() == 0; }, 10000));
  QTest::qWait(50);  // anything said with the drop has arrived

  if (!e.ErrorExpected) {
    EXPECT_TRUE(errors.empty()) << errors.front().Message.toStdString();
    return;
  }
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Failure.What, e.ExpectedKind);
  EXPECT_EQ(errors[0].Failure.SystemCode, e.ExpectedCode);
  EXPECT_EQ(errors[0].Message, QStringLiteral("Asynchronous socket error %1").arg(e.ExpectedCode));
}

INSTANTIATE_TEST_SUITE_P(Endings, PeerGoesAway,
                         ::testing::Values(Ending{"Closed", false, false, Kind::None, 0},
                                           Ending{"Reset", true, true, Kind::Other, ECONNRESET}),
                         [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zelmor::adapters
