// Showing a file in the file manager over a real session bus: a private dbus-daemon,
// a stand-in file manager that owns org.freedesktop.FileManager1 on it, and the built
// zelmor asked to show a file with an awkward name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <mutex>
#include <string>

#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

class FileManagerStandIn final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override {
    return QStringLiteral(
        "<interface name=\"org.freedesktop.FileManager1\"><method name=\"ShowItems\">"
        "<arg type=\"as\" name=\"URIs\" direction=\"in\"/><arg type=\"s\" name=\"StartupId\" direction=\"in\"/>"
        "</method></interface>");
  }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() != QLatin1String("ShowItems") || message.arguments().size() != 2) return false;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FShown.push_back(message.arguments()[0].toStringList());
    }
    connection.send(message.createReply());
    return true;
  }
  std::vector<QStringList> Shown() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FShown;
  }

 private:
  std::mutex FMutex;
  std::vector<QStringList> FShown;
};

TEST(FileManagerBus, TheFileIsShownSelectedByTheDesktopsFileManager) {
  int argc = 1;
  char name[] = "file_manager_bus_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

  QProcess bus;
  bus.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
  if (!bus.waitForStarted(5000)) GTEST_SKIP() << "dbus-daemon cannot start here";
  ASSERT_TRUE(bus.waitForReadyRead(10000)) << "the bus gave no address";
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();

  FileManagerStandIn standIn;
  {
    QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("stand-in"));
    ASSERT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();
    ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    ASSERT_TRUE(connection.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &standIn));

    FileTree tree;
    tree.Write("notas/nota fiscal 'ação'.xml", "<nfe/>");
    // xdg-open must not be needed: a stand-in that leaves a mark if it is.
    tree.Write("bin/xdg-open", "#!/bin/sh\ntouch '" + tree.Native("opened") + "'\n");
    ASSERT_EQ(chmod(tree.Native("bin/xdg-open").c_str(), 0755), 0);

    QProcess zelmor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    env.insert(QStringLiteral("PATH"), QString::fromStdString(tree.Native("bin")) + QStringLiteral(":/usr/bin:/bin"));
    zelmor.setProcessEnvironment(env);
    zelmor.start(QString::fromStdString(BinDir() + "/zelmor"),
                 {QStringLiteral("call"), QStringLiteral("TmFile.OpenExplorerFileSelect"),
                  QString::fromStdString(tree.Native("notas/nota fiscal 'ação'.xml"))});
    ASSERT_TRUE(zelmor.waitForStarted(5000));
    // The stand-in answers from this thread's events: they are handled while zelmor runs.
    QElapsedTimer waited;
    waited.start();
    while (zelmor.state() != QProcess::NotRunning && waited.elapsed() < 20000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(zelmor.exitCode(), 0) << zelmor.readAllStandardError().toStdString();

    const QString uri = QStringLiteral("file://") + QString::fromStdString(tree.Native("notas/")) +
                        QStringLiteral("nota%20fiscal%20%27a%C3%A7%C3%A3o%27.xml");
    EXPECT_EQ(standIn.Shown(), std::vector<QStringList>{QStringList{uri}});
    EXPECT_FALSE(tree.Exists("opened")) << "the folder was opened as well";
    connection.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("stand-in"));
  bus.kill();
  bus.waitForFinished(5000);
}

}  // namespace
}  // namespace zelmor::testing
