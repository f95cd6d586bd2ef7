// The web display in-process: its address option, its page, and its limits against real
// clients on loopback (a browser's own view is tests/display_web_test.cpp).
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/lcd_font.h"
#include "app/web_display.h"
#include "testing/loopback.h"

namespace quindel {
namespace {

using namespace std::chrono_literals;

// A blocking loopback client with a receive time-out; -1 when it cannot connect.
int Connect(std::uint16_t port, int timeoutSeconds = 10) {
  const int fd = zelmor::testing::ConnectLoopback(port);
  if (fd < 0) return -1;
  timeval tv{timeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  return fd;
}

void SendAll(int fd, const std::string& bytes) {
  ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

// Reads until the peer closes or the receive time-out; what came.
std::string ReadToEnd(int fd) {
  std::string all;
  char buf[65536];
  for (int i = 0; i < 10000; ++i) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    all.append(buf, static_cast<std::size_t>(n));
  }
  return all;
}

std::string Get(std::uint16_t port, const std::string& path) {
  const int fd = Connect(port);
  if (fd < 0) return "(no connection)";
  SendAll(fd, "GET " + path + " HTTP/1.1\r\nHost: till\r\nConnection: close\r\n\r\n");
  std::string answer = ReadToEnd(fd);
  ::close(fd);
  return answer;
}

std::string Body(const std::string& answer) {
  const std::size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

// Runs the event loop until `done` holds or `ms` passed.
template <typename F>
bool SpinUntil(F done, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < ms && !done() && t.elapsed() < ms; ++i) QTest::qWait(1);
  return done();
}

TEST(WebAddress, ParsesAnAddressAndAPort) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    int port;
  } cases[] = {
      {"8022", true, "127.0.0.1", 8022},
      {"0.0.0.0:8022", true, "0.0.0.0", 8022},
      {"192.168.0.10:80", true, "192.168.0.10", 80},
      {"[::1]:8022", true, "::1", 8022},
      {"0", true, "127.0.0.1", 0},
      {"65534", true, "127.0.0.1", 65534},
      {"65535", false, "", 0},  // its live feed would need 65536
      {"123456", false, "", 0},
      {"", false, "", 0},
      {"0.0.0.0:", false, "", 0},
      {"till:8022", false, "", 0},  // names are not resolved
      {"1.2.3:80", false, "", 0},
      {"::1:8022", false, "", 0},  // IPv6 needs its brackets
      {"[::1]8022", false, "", 0},
      {"[127.0.0.1]:80", false, "", 0},
      {"-80", false, "", 0},
      {"80x", false, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto a = ParseWebAddress(c.text);
    ASSERT_EQ(a.has_value(), c.ok);
    if (!a) continue;
    EXPECT_EQ(a->host, c.host);
    EXPECT_EQ(a->port, c.port);
  }
}

TEST(WebPage, CarriesTheLinesAsTextAndWhereToFollowThem) {
  struct Case {
    std::string line1, line2, shown1, shown2;
  } cases[] = {
      {"Total", "R$ 9,99", "Total", "R$ 9,99"},
      {"<script>alert(1)</script>", "A&B \"x\" 'y'", "&lt;script&gt;alert(1)&lt;/script&gt;",
       "A&amp;B &quot;x&quot; &#39;y&#39;"},
      {"Pão de açúcar", "", "Pão de açúcar", ""},
      {"</div><div id=\"line2\">fake", "real", "&lt;/div&gt;&lt;div id=&quot;line2&quot;&gt;fake", "real"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line1);
    const std::string page = WebPage(c.line1, c.line2, 8023);
    EXPECT_NE(page.find("<div id=\"line1\">" + c.shown1 + "</div><div id=\"line2\">" + c.shown2 + "</div>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("data-live-port=\"8023\""), std::string::npos);
  }
}

class WebDisplayTest : public ::testing::Test {
 protected:
  void Start(WebLimits limits = {}) {
    web = std::make_unique<WebDisplay>(limits);
    QString why;
    ASSERT_TRUE(web->Start(WebAddress{"127.0.0.1", 0}, &why)) << why.toStdString();
    ASSERT_NE(web->PagePort(), 0);
    ASSERT_NE(web->LivePort(), 0);
    web->Show(QStringLiteral("Primeira"), QStringLiteral("linha"));
  }
  std::unique_ptr<QWebSocket> Viewer() {
    auto ws = std::make_unique<QWebSocket>();
    ws->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(web->LivePort())));
    return ws;
  }
  std::unique_ptr<WebDisplay> web;
};

// Ended at once after starting (a display that closes as it opens): both ports are let
// go, so a display started again gets them.
TEST_F(WebDisplayTest, EndsRightAfterStartingAndLetsItsPortsGo) {
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    auto first = std::make_unique<WebDisplay>();
    QString why;
    ASSERT_TRUE(first->Start(WebAddress{"127.0.0.1", 0}, &why)) << why.toStdString();
    const std::uint16_t page = first->PagePort();
    if (page == 65535) continue;  // no port after it for a fixed start
    first.reset();
    WebDisplay again;
    ASSERT_TRUE(again.Start(WebAddress{"127.0.0.1", page}, &why)) << why.toStdString();
    EXPECT_EQ(again.PagePort(), page);
    EXPECT_EQ(again.LivePort(), page + 1);
    EXPECT_NE(Body(Get(page, "/")).find("data-live-port=\"" + std::to_string(page + 1) + "\""), std::string::npos);
  }
}

TEST_F(WebDisplayTest, ServesThePageWithTheLinesAndTheFont) {
  Start();
  web->Show(QStringLiteral("Caf\u00e9 & p\u00e3o"), QStringLiteral("R$ 7,00"));
  const std::string page = Get(web->PagePort(), "/");
  EXPECT_EQ(page.rfind("HTTP/1.1 200", 0), 0u) << page.substr(0, 200);
  EXPECT_NE(page.find("text/html; charset=utf-8"), std::string::npos);
  EXPECT_NE(Body(page).find("<div id=\"line1\">Café &amp; pão</div><div id=\"line2\">R$ 7,00</div>"),
            std::string::npos);
  EXPECT_NE(page.find("data-live-port=\"" + std::to_string(web->LivePort()) + "\""), std::string::npos);

  const std::string font = Get(web->PagePort(), "/lcd.ttf");
  EXPECT_NE(font.find("font/ttf"), std::string::npos);
  EXPECT_EQ(Body(font), EmbeddedFont().toStdString());

  EXPECT_EQ(Get(web->PagePort(), "/etc/passwd").rfind("HTTP/1.1 404", 0), 0u);
  EXPECT_EQ(Get(web->PagePort(), "/../lcd.ttf").substr(0, 12).rfind("HTTP/1.1 ", 0), 0u);
}

TEST_F(WebDisplayTest, ARequestWithABodyOverTheLimitIsRefused) {
  WebLimits limits;
  limits.maxBody = 1024;
  Start(limits);
  for (std::size_t size : {std::size_t{10}, std::size_t{4096}, std::size_t{1} << 20}) {
    SCOPED_TRACE(size);
    const int fd = Connect(web->PagePort());
    ASSERT_GE(fd, 0);
    SendAll(fd, "POST / HTTP/1.1\r\nHost: till\r\nConnection: close\r\nContent-Length: " + std::to_string(size) +
                    "\r\n\r\n" + std::string(std::min<std::size_t>(size, 4096), 'x'));
    const std::string answer = ReadToEnd(fd);
    ::close(fd);
    // Small: the page takes no POST; large: refused for its size before it is read.
    EXPECT_EQ(answer.substr(0, 12), size > limits.maxBody ? "HTTP/1.1 413" : "HTTP/1.1 404");
  }
}

TEST_F(WebDisplayTest, IdleConnectionsAreClosedAndBusyWorkersHoldBackTheRest) {
  WebLimits limits;
  limits.pageWorkers = 1;
  limits.pageQueue = 1;
  limits.ioTimeoutSeconds = 1;
  Start(limits);
  // Connections that never send a request: one held by the worker, one queued, the
  // rest in the system's backlog.
  std::vector<int> idle;
  for (int i = 0; i < 3; ++i) idle.push_back(Connect(web->PagePort()));
  const int asking = Connect(web->PagePort());
  ASSERT_GE(asking, 0);
  SendAll(asking, "GET / HTTP/1.1\r\nHost: till\r\nConnection: close\r\n\r\n");
  pollfd p{asking, POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 300), 0) << "answered while the only worker was held";
  // Each silent connection is closed after the idle time, and then the request is served.
  for (int fd : idle) {
    ASSERT_GE(fd, 0);
    char c;
    EXPECT_EQ(::recv(fd, &c, 1, 0), 0) << "an idle connection was kept";
    ::close(fd);
  }
  EXPECT_NE(Body(ReadToEnd(asking)).find("Primeira"), std::string::npos);
  ::close(asking);
}

TEST_F(WebDisplayTest, ViewersGetTheLinesAtOnceAndEveryChangeAndOneTooManyIsRefused) {
  WebLimits limits;
  limits.maxLiveClients = 2;
  Start(limits);
  std::vector<std::unique_ptr<QWebSocket>> viewers;
  std::vector<std::unique_ptr<QSignalSpy>> said;
  for (int i = 0; i < 2; ++i) {
    viewers.push_back(Viewer());
    said.push_back(std::make_unique<QSignalSpy>(viewers.back().get(), &QWebSocket::textMessageReceived));
  }
  ASSERT_TRUE(SpinUntil([&] { return said[0]->size() >= 1 && said[1]->size() >= 1; }));
  for (auto& s : said) EXPECT_EQ(s->at(0).at(0).toString(), QStringLiteral(R"({"line1":"Primeira","line2":"linha"})"));
  ASSERT_EQ(web->LiveClients(), 2);

  auto third = Viewer();
  QSignalSpy closed(third.get(), &QWebSocket::disconnected);
  ASSERT_TRUE(SpinUntil([&] { return closed.size() >= 1; }));
  EXPECT_EQ(third->closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
  EXPECT_EQ(web->LiveClients(), 2);

  web->Show(QStringLiteral("Segunda"), QString(300, u'x'));
  ASSERT_TRUE(SpinUntil([&] { return said[0]->size() >= 2 && said[1]->size() >= 2; }));
  // Only what a page can show travels: a long line is cut.
  EXPECT_EQ(said[1]->at(1).at(0).toString(),
            QStringLiteral(R"({"line1":"Segunda","line2":"%1"})").arg(QString(200, u'x')));

  // A viewer that leaves makes room for another.
  viewers[0]->close();
  ASSERT_TRUE(SpinUntil([&] { return web->LiveClients() == 1; }));
  auto fourth = Viewer();
  QSignalSpy fourthSaid(fourth.get(), &QWebSocket::textMessageReceived);
  ASSERT_TRUE(SpinUntil([&] { return fourthSaid.size() >= 1; }));
  EXPECT_TRUE(fourthSaid.at(0).at(0).toString().contains(QStringLiteral("Segunda")));
}

TEST_F(WebDisplayTest, AViewerThatSendsIsClosedAndChangesNothing) {
  Start();
  const char* sent[] = {"Hacked\xC2\xBFR$ 0,00", ""};
  for (const char* text : sent) {
    SCOPED_TRACE(text);
    auto viewer = Viewer();
    QSignalSpy said(viewer.get(), &QWebSocket::textMessageReceived);
    QSignalSpy closed(viewer.get(), &QWebSocket::disconnected);
    ASSERT_TRUE(SpinUntil([&] { return said.size() >= 1; }));
    viewer->sendTextMessage(QString::fromUtf8(text));
    ASSERT_TRUE(SpinUntil([&] { return closed.size() >= 1; }));
    EXPECT_EQ(viewer->closeCode(), QWebSocketProtocol::CloseCodeDatatypeNotSupported);
    EXPECT_NE(Body(Get(web->PagePort(), "/")).find("<div id=\"line1\">Primeira</div>"), std::string::npos);
  }
}

// A viewer that stops reading: the display goes on changing, what waits for that viewer
// stays bounded, and once it reads again it gets the latest lines.
TEST_F(WebDisplayTest, AViewerThatStopsReadingCostsABoundedBuffer) {
  WebLimits limits;
  limits.maxQueuedBytes = 8 << 10;
  limits.ioTimeoutSeconds = 60;
  Start(limits);
  const int fd = Connect(web->LivePort());
  ASSERT_GE(fd, 0);
  SendAll(fd,
          "GET / HTTP/1.1\r\nHost: till\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
  ASSERT_TRUE(SpinUntil([&] { return web->LiveClients() == 1; }));

  // About 20 MB of changes, far more than the system's socket buffers take.
  const QString filler(190, u'#');
  qint64 most = 0;
  for (int i = 0; i < 50000; ++i) {
    web->Show(QStringLiteral("Item %1").arg(i), filler);
    if (i % 100 == 0) QCoreApplication::processEvents();
    most = std::max(most, web->MostQueued());
  }
  const qint64 oneMessage = static_cast<qint64>(LinesMessage(QStringLiteral("Item 49999"), filler).size()) + 14;
  EXPECT_LE(most, limits.maxQueuedBytes + oneMessage);

  // Now it reads: frames until the last change arrives, with the event loop running
  // beside it so the display can write what waited.
  std::string stream;
  bool sawLast = false;
  std::thread reader([&] {
    char buf[65536];
    for (int i = 0; i < 100000 && !sawLast; ++i) {
      const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      stream.append(buf, static_cast<std::size_t>(n));
      sawLast = stream.find("\"line1\":\"Item 49999\"") != std::string::npos;
    }
  });
  SpinUntil([&] { return sawLast; }, 30000);
  ::shutdown(fd, SHUT_RDWR);
  reader.join();
  ::close(fd);
  EXPECT_TRUE(sawLast) << "the latest lines never reached the viewer";
  // What it got in between was a few changes, not the 50,000.
  std::size_t frames = 0;
  for (std::size_t at = 0; (at = stream.find("\"line1\":\"Item ", at)) != std::string::npos; ++at) ++frames;
  EXPECT_LT(frames, 50000u / 2);
}

}  // namespace
}  // namespace quindel
