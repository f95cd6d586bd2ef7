// The display window in-process on the offscreen platform, fed by real TCP clients.
#include <dirent.h>
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/QuindelUnit.h"
#include "app/lcd_font.h"
#include "testing/fixtures.h"

QT_BEGIN_NAMESPACE
// Readable failure messages for QString comparisons.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace quindel {
namespace {

const QString kStart1 = QStringLiteral("             Zelmor Quindel             ");
const QString kStart2 = QStringLiteral("       - aguardando comunicacao -       ");

// Bytes as a POS sends them: Windows-1252, line 1, 0xBF, line 2.
QByteArray Message(const char* line1, const char* line2) { return QByteArray(line1) + char(0xBF) + QByteArray(line2); }

// A plain client that only connects (a terminal that went quiet).
int IdleClient(quint16 port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  return fd;
}

// Waits (bounded) until the peer's system has taken in all that `client` wrote: nothing
// of it is left unacknowledged in the client's send queue.
bool InPeersReceiveQueue(const QTcpSocket& client) {
  const int fd = static_cast<int>(client.socketDescriptor());
  for (int i = 0; i < 10000; ++i) {
    int unacknowledged = 0;
    if (::ioctl(fd, SIOCOUTQ, &unacknowledged) != 0) return false;
    if (unacknowledged == 0) return true;
    ::usleep(1000);
  }
  return false;
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = TQuindelForm::Create(0);  // any free port
    ASSERT_NE(form->ServidorSocket(), nullptr);
    ASSERT_TRUE(form->ServidorSocket()->Active());
    port = form->ServidorSocket()->Port();
  }
  void TearDown() override {
    delete form->ServidorSocket();  // owned by the application object, which outlives the test
    form.reset();
  }

  std::unique_ptr<QTcpSocket> Connect() {
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(s->waitForConnected(5000));
    return s;
  }

  // Sends and waits until the window shows a change (bounded).
  void SendAndWait(QTcpSocket& s, const QByteArray& bytes) {
    QSignalSpy spy(form.get(), &TQuindelForm::LinesChanged);
    s.write(bytes);
    ASSERT_TRUE(s.waitForBytesWritten(5000));
    ASSERT_TRUE(spy.wait(5000));
  }

  QString Line1() const { return form->lbLinha1()->text(); }
  QString Line2() const { return form->lbLinha2()->text(); }

  std::unique_ptr<TQuindelForm> form;
  quint16 port = 0;
};

TEST_F(DisplayTest, StartsWithCentredTextsInTheLcdTypeface) {
  EXPECT_EQ(Line1(), kStart1);
  EXPECT_EQ(Line2(), kStart2);
  EXPECT_TRUE(form->FontRegistered());
  EXPECT_EQ(QFontInfo(form->lbLinha1()->font()).family(), QString::fromLatin1(kFontFamily));
  EXPECT_EQ(form->lbLinha1()->font().pointSize(), 34);
  EXPECT_EQ(form->lbLinha2()->font(), form->lbLinha1()->font());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelmor Quindel"));
  EXPECT_EQ(form->lbLinha1()->textFormat(), Qt::PlainText);
  // Fixed size from the ruler, two lines plus 4 pixels; line 2 right below line 1.
  const int rulerWidth = QFontMetrics(form->lbLinha1()->font()).horizontalAdvance(QString::fromLatin1(kRuler));
  EXPECT_NEAR(form->lbLinha1()->width(), rulerWidth, 2);
  EXPECT_EQ(form->width(), form->lbLinha1()->width());
  EXPECT_EQ(form->height(), 2 * form->lbLinha1()->height() + 4);
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(form->lbLinha2()->y(), form->lbLinha1()->height());
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(193, 255, 193));
  EXPECT_TRUE(QFile::exists(form->ArquivoFonte()));
}

TEST_F(DisplayTest, MessageRuleSplitsAtTheSeparator) {
  auto client = Connect();
  struct {
    QByteArray bytes;
    QString line1, line2;
  } cases[] = {
      {Message("Total", "12,50"), "Total", "12,50"},
      {"ABC", "ABC", ""},
      {QByteArray(1, char(0xBF)) + "XYZ", "", "XYZ"},
      {Message("A", "B") + char(0xBF) + "C", "A", "B"},
      {QByteArray(1, char(0xBF)), "", ""},
      {QByteArray(50, 'x'), QString(50, 'x'), ""},      // not cut, not centred
      {Message("A&B", "<b>x</b>"), "A&B", "<b>x</b>"},  // drawn as sent
      {Message("P\xE3o de a\xE7\xFA"
               "car",
               "\x80 9,90"),
       QString::fromUtf8("Pão de açúcar"), QString::fromUtf8("€ 9,90")},
      {Message("a\rb", "c\nd"), "a\rb", "c\nd"},
  };
  for (const auto& c : cases) {
    SendAndWait(*client, c.bytes);
    EXPECT_EQ(Line1(), c.line1) << c.bytes.toHex().constData();
    EXPECT_EQ(Line2(), c.line2) << c.bytes.toHex().constData();
  }
}

TEST_F(DisplayTest, TwoSendsPendingTogetherAreOneMessage) {
  auto client = Connect();
  QSignalSpy spy(form.get(), &TQuindelForm::LinesChanged);
  client->write(Message("A", "B"));
  client->flush();
  client->write(Message("C", "D"));
  ASSERT_TRUE(client->waitForBytesWritten(5000));
  ASSERT_TRUE(InPeersReceiveQueue(*client));  // both, before the display reads
  ASSERT_TRUE(spy.wait(5000));
  EXPECT_EQ(Line1(), "A");
  EXPECT_EQ(Line2(), "BC");
}

TEST_F(DisplayTest, SeveralClientsLastReadWins) {
  auto a = Connect();
  auto b = Connect();
  auto c = Connect();
  SendAndWait(*a, Message("from a", "1"));
  SendAndWait(*b, Message("from b", "2"));
  EXPECT_EQ(Line1(), "from b");
  SendAndWait(*a, Message("from a", "3"));
  EXPECT_EQ(Line2(), "3");
  SendAndWait(*c, Message("from c", "4"));
  EXPECT_EQ(Line1(), "from c");
  EXPECT_EQ(form->ServidorSocket()->ClientCount(), 3);
}

TEST_F(DisplayTest, ClientClosingIsNotAMessage) {
  auto client = Connect();
  SendAndWait(*client, Message("kept", "lines"));
  QSignalSpy spy(form.get(), &TQuindelForm::LinesChanged);
  client->disconnectFromHost();
  client.reset();
  QElapsedTimer t;
  t.start();
  while (form->ServidorSocket()->ClientCount() > 0 && t.elapsed() < 5000) QTest::qWait(10);
  EXPECT_EQ(form->ServidorSocket()->ClientCount(), 0);
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(Line1(), "kept");
  EXPECT_EQ(Line2(), "lines");
}

TEST_F(DisplayTest, ReadHandlerFindingNothingPendingBlanksBothLines) {
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  zelmor::adapters::ClientConnection empty(fds[0], nullptr);
  form->ServidorSocketClientRead(form->ServidorSocket(), &empty);
  EXPECT_EQ(Line1(), "");
  EXPECT_EQ(Line2(), "");
  ::close(fds[1]);
}

TEST_F(DisplayTest, F5ShowsDateAndTimeWithAnyModifier) {
  zelmor::testing::FixedRegionalSettings brazil;
  zelmor::testing::FixedClock clock({2026, 12, 9, 14, 5, 9, 123});
  for (Qt::KeyboardModifiers mods :
       {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
        Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
    form->SetLines("x", "y");
    QTest::keyClick(form.get(), Qt::Key_F5, mods);
    EXPECT_EQ(Line1(), QStringLiteral("         9 de dezembro de 2026          "));
    EXPECT_EQ(Line2(), QStringLiteral("     (quarta-feira) 14:05:09 (123)      "));
  }
  // Other keys do nothing; a message replaces the date and time.
  QTest::keyClick(form.get(), Qt::Key_F6);
  EXPECT_EQ(Line2(), QStringLiteral("     (quarta-feira) 14:05:09 (123)      "));
  auto client = Connect();
  SendAndWait(*client, Message("Total", "1,00"));
  EXPECT_EQ(Line1(), "Total");
}

// Under the C locale the names would be English inside Portuguese words ("11 de
// December de 2026"): the Brazilian names stand in, and only they.
TEST_F(DisplayTest, F5UnderThePlainLocaleReadsInOneLanguage) {
  const struct {
    const char* locale;
    zelmor::RegionalSettings settings;
    QString line1, line2;
  } cases[] = {
      {"C", zelmor::RegionalSettings::Plain(), QStringLiteral("         9 de dezembro de 2026          "),
       QStringLiteral("     (quarta-feira) 14:05:09 (123)      ")},
      {"POSIX", zelmor::RegionalSettings::Plain(), QStringLiteral("         9 de dezembro de 2026          "),
       QStringLiteral("     (quarta-feira) 14:05:09 (123)      ")},
      // A locale with names of its own keeps them.
      {"en_US.UTF-8", zelmor::RegionalSettings::UnitedStates(),
       QStringLiteral("         9 de December de 2026          "),
       QStringLiteral("       (Wednesday) 14:05:09 (123)       ")},
  };
  const QByteArray saved = qgetenv("LC_ALL");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    qputenv("LC_ALL", c.locale);
    zelmor::testing::FixedRegionalSettings settings(c.settings);
    zelmor::testing::FixedClock clock({2026, 12, 9, 14, 5, 9, 123});
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(Line1(), c.line1);
    EXPECT_EQ(Line2(), c.line2);
  }
  if (saved.isNull())
    qunsetenv("LC_ALL");
  else
    qputenv("LC_ALL", saved);
}

TEST_F(DisplayTest, BurstOfResetsShowsOneBoxAndTheDisplayGoesOn) {
  for (int i = 0; i < 200; ++i) {
    const int fd = IdleClient(port);
    // Linger 0: close sends a reset instead of an orderly shutdown.
    struct linger l {
      1, 0
    };
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(fd);
  }
  QElapsedTimer t;
  t.start();
  while (form->ServidorSocket()->ClientCount() > 0 && t.elapsed() < 10000) QTest::qWait(10);
  EXPECT_EQ(form->ServidorSocket()->ClientCount(), 0);
  QTest::qWait(100);
  EXPECT_EQ(form->Errors().Shown(), 1);   // one box ...
  EXPECT_GT(form->Errors().Logged(), 0);  // ... and the rest on standard error
  auto client = Connect();
  SendAndWait(*client, Message("still", "here"));
  EXPECT_EQ(Line1(), "still");
  if (form->Errors().Box()) form->Errors().Box()->close();
}

// True when the display closed this client's connection (an end of file arrives).
bool ClosedByDisplay(int fd) {
  pollfd p{fd, POLLIN, 0};
  char c;
  return ::poll(&p, 1, 0) == 1 && ::recv(fd, &c, 1, MSG_DONTWAIT) == 0;
}

TEST_F(DisplayTest, AtTheConnectionCapTheIdlestMakesRoom) {
  form->ServidorSocket()->SetMaxClients(4);
  int idle[6];
  for (int& fd : idle) {
    fd = IdleClient(port);
    QTest::qWait(20);  // accepted in this order
  }
  QElapsedTimer t;
  t.start();
  while (form->ServidorSocket()->ClientCount() != 4 && t.elapsed() < 5000) QTest::qWait(10);
  EXPECT_EQ(form->ServidorSocket()->ClientCount(), 4);
  QTest::qWait(50);
  EXPECT_TRUE(ClosedByDisplay(idle[0]));  // the two oldest made room for the fifth and sixth
  EXPECT_TRUE(ClosedByDisplay(idle[1]));
  // The third speaks, so the fourth is now the one idle longest.
  QSignalSpy spy(form.get(), &TQuindelForm::LinesChanged);
  const QByteArray hello = Message("third", "speaks");
  ASSERT_EQ(::send(idle[2], hello.constData(), hello.size(), 0), hello.size());
  ASSERT_TRUE(spy.wait(5000));
  SendAndWait(*Connect(), Message("new", "client"));  // a newcomer is served at the cap
  EXPECT_EQ(Line1(), "new");
  EXPECT_EQ(form->ServidorSocket()->ClientCount(), 4);
  QTest::qWait(50);
  EXPECT_FALSE(ClosedByDisplay(idle[2]));
  EXPECT_TRUE(ClosedByDisplay(idle[3]));
  EXPECT_FALSE(ClosedByDisplay(idle[5]));
  for (int fd : idle) ::close(fd);
}

// Leaves this process no descriptor to open: the gaps below the highest open
// descriptor are filled and the limit is lowered to just above it, so the display's
// next accept fails with EMFILE (and closing one of its connections makes room again).
// Puts everything back when it goes.
class NoDescriptorsLeft {
 public:
  NoDescriptorsLeft() {
    ::getrlimit(RLIMIT_NOFILE, &FSaved);
    int highest = 0;
    DIR* d = ::opendir("/proc/self/fd");
    while (dirent* e = ::readdir(d)) highest = std::max(highest, std::atoi(e->d_name));
    ::closedir(d);
    for (int i = 0; i < 4096; ++i) {
      const int filler = ::dup(0);
      if (filler < 0) break;
      if (filler > highest) {
        ::close(filler);
        break;
      }
      FFillers.push_back(filler);
    }
    rlimit low = FSaved;
    low.rlim_cur = static_cast<rlim_t>(highest + 1);
    ::setrlimit(RLIMIT_NOFILE, &low);
  }
  ~NoDescriptorsLeft() {
    Restore();
    for (int f : FFillers) ::close(f);
  }
  void Restore() { ::setrlimit(RLIMIT_NOFILE, &FSaved); }

 private:
  rlimit FSaved{};
  std::vector<int> FFillers;
};

double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

TEST_F(DisplayTest, OutOfDescriptorsTheIdlestMakesRoom) {
  form->ServidorSocket()->SetMaxClients(1000);  // the cap is not what stops it here
  const int idle = IdleClient(port);
  QElapsedTimer t;
  t.start();
  while (form->ServidorSocket()->ClientCount() < 1 && t.elapsed() < 5000) QTest::qWait(10);
  // The newcomer's socket exists before the limit drops; connecting needs no descriptor.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  QSignalSpy spy(form.get(), &TQuindelForm::LinesChanged);
  {
    NoDescriptorsLeft limit;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const QByteArray hello = Message("sem", "descritores");
    ASSERT_EQ(::send(fd, hello.constData(), hello.size(), 0), hello.size());
    ASSERT_TRUE(spy.wait(5000));
  }
  EXPECT_EQ(Line1(), "sem");
  QTest::qWait(50);
  EXPECT_TRUE(ClosedByDisplay(idle));
  ::close(idle);
  ::close(fd);
}

TEST_F(DisplayTest, OutOfDescriptorsWithNoneToCloseRestsInsteadOfSpinning) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  QSignalSpy notices(form->ServidorSocket(), &zelmor::adapters::SocketServer::Notice);
  QSignalSpy lines(form.get(), &TQuindelForm::LinesChanged);
  NoDescriptorsLeft limit;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);  // queued, not yet accepted
  const QByteArray hello = Message("depois", "da falta");
  ASSERT_EQ(::send(fd, hello.constData(), hello.size(), 0), hello.size());
  QElapsedTimer elapsed;
  elapsed.start();
  const double before = CpuSeconds();
  QTest::qWait(1000);
  const double used = CpuSeconds() - before;
  EXPECT_LT(used, 0.3 * elapsed.elapsed() / 1000.0);  // a loop woken again and again would use the whole time
  ASSERT_EQ(notices.count(), 1);
  EXPECT_TRUE(notices.at(0).at(0).toString().contains(QStringLiteral("cannot accept connections")))
      << notices.at(0).at(0).toString().toStdString();
  EXPECT_EQ(lines.count(), 0);
  // Descriptors free again: the queued client is taken at the next look.
  limit.Restore();
  ASSERT_TRUE(lines.wait(5000));
  EXPECT_EQ(Line1(), "depois");
  ::close(fd);
}

TEST_F(DisplayTest, ClientsAreProbedWhenIdle) {
  auto client = Connect();
  QElapsedTimer t;
  t.start();
  while (form->ServidorSocket()->ClientCount() == 0 && t.elapsed() < 5000) QTest::qWait(10);
  ASSERT_EQ(form->ServidorSocket()->ClientCount(), 1);
  int on = 0, idle = 0;
  socklen_t len = sizeof on;
  const int fd = form->ServidorSocket()->ClientHandles().front();
  ASSERT_EQ(::getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, &len), 0);
  EXPECT_EQ(on, 1);
  len = sizeof idle;
  ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, &len), 0);
  EXPECT_GT(idle, 0);
  EXPECT_LE(idle, 300);  // found dead within minutes, not the system's two hours
}

TEST_F(DisplayTest, ErrorBoxLeavesTheWindowWorking) {
  form->Errors().Show(QStringLiteral("something failed"));
  ASSERT_TRUE(form->Errors().BoxOpen());
  EXPECT_EQ(form->Errors().Box()->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  zelmor::testing::FixedRegionalSettings brazil;
  zelmor::testing::FixedClock clock({2026, 12, 9, 14, 5, 9, 123});
  QTest::keyClick(form.get(), Qt::Key_F5);
  EXPECT_EQ(Line1(), QStringLiteral("         9 de dezembro de 2026          "));
  EXPECT_TRUE(form->close());
  form->Errors().Box()->close();
}

TEST(DisplayStartup, PortAlreadyTakenShowsTheErrorAndKeepsTheRuler) {
  QTcpServer blocker;
  ASSERT_TRUE(blocker.listen(QHostAddress::AnyIPv4, 0));
  StartupReport report;
  auto form = TQuindelForm::Create(blocker.serverPort(), &report);
  EXPECT_EQ(report.FailedAt, StartupReport::Step::Listener);
  EXPECT_EQ(form->Errors().Shown(), 1);
  ASSERT_NE(form->Errors().Box(), nullptr);
  // The system's words as they always were, then the port and what to do about it.
  EXPECT_EQ(form->Errors().Box()->text(),
            QStringLiteral("Windows socket error: Address already in use (98), on API 'bind'\n\nThe display could not "
                           "listen on TCP port %1. If another program (or another quindel) holds it, end that program "
                           "or start this one on another port: quindel --port N.")
                .arg(blocker.serverPort()));
  EXPECT_FALSE(form->ServidorSocket()->Active());
  EXPECT_EQ(form->lbLinha1()->text(), QString::fromLatin1(kRuler));
  EXPECT_EQ(form->lbLinha2()->text(), QString::fromLatin1(kRuler));
  EXPECT_EQ(QFontInfo(form->lbLinha1()->font()).family(), QString::fromLatin1(kFontFamily));
  form->Errors().Box()->close();
  delete form->ServidorSocket();
}

TEST(DisplayStartup, ExistingFontFileIsUsedAsItIs) {
  QTemporaryDir dir;
  const QString font = dir.filePath(QString::fromLatin1(kFontFileName));
  QFile f(font);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a font");
  f.close();
  zelmor::testing::FixedProcessInfo exe(dir.filePath("quindel").toStdU16String());
  StartupReport report;
  auto form = TQuindelForm::Create(0, &report);
  EXPECT_TRUE(report.Ok());  // an unregistered font is not a failed start-up
  EXPECT_EQ(form->ArquivoFonte(), font);
  EXPECT_FALSE(form->FontRegistered());  // reported on standard error; the flow goes on
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("not a font"));
  ASSERT_NE(form->ServidorSocket(), nullptr);
  EXPECT_TRUE(form->ServidorSocket()->Active());
  EXPECT_EQ(form->lbLinha1()->text(), kStart1);
  delete form->ServidorSocket();
}

TEST(DisplayStartup, FontThatCannotBeWrittenStopsStartUp) {
  zelmor::testing::FixedProcessInfo exe(u"/nonexistent-folder/for/quindel");
  StartupReport report;
  auto form = TQuindelForm::Create(0, &report);
  EXPECT_EQ(report.FailedAt, StartupReport::Step::FontFile);
  EXPECT_FALSE(report.Message.isEmpty());
  EXPECT_EQ(form->Errors().Shown(), 1);
  EXPECT_EQ(form->ServidorSocket(), nullptr);  // no listener
  EXPECT_EQ(form->lbLinha1()->text(), QString::fromLatin1(kRuler));
  EXPECT_EQ(form->size(), QSize(685, 76));  // the design size
  if (form->Errors().Box()) form->Errors().Box()->close();
}

TEST(DisplayStartup, UnpackedFontMatchesTheEmbeddedOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(kFontFileName));
  UnpackFont(path);
  QFile unpacked(path), embedded(QStringLiteral(":/LCD/FON"));
  ASSERT_TRUE(unpacked.open(QIODevice::ReadOnly));
  ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
  EXPECT_EQ(unpacked.readAll(), embedded.readAll());
  EXPECT_TRUE(RegisterFont(path));
}

}  // namespace
}  // namespace quindel
