// The display's two lines in a browser: a page in the same LCD look, kept current over a
// WebSocket. The page and its font come from an HTTP server on its own threads; the live
// feed is a WebSocket server on the window's event loop, one port above the page's. A
// browser only ever reads: nothing it sends reaches the window.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

QT_BEGIN_NAMESPACE
class QWebSocket;
class QWebSocketServer;
QT_END_NAMESPACE

namespace httplib {
class Server;
}

namespace quindel {

inline constexpr const char* kWebDefaultAddress = "127.0.0.1";

struct WebAddress {
  std::string host = kWebDefaultAddress;  // an IPv4 address, or an IPv6 one without brackets
  std::uint16_t port = 0;                 // the page's; the live feed takes the next (0: any free ones)
};

// "[ADDR:]PORT": ADDR an IPv4 address or a bracketed IPv6 one, PORT 0-65534 (the live
// feed needs the port after it). nullopt for anything else.
std::optional<WebAddress> ParseWebAddress(std::string_view text);

// The page as served when the lines are `line1` and `line2` (UTF-8): the lines are in it
// already, so it shows them before any script runs; `livePort` is where its script
// connects for the changes, and a page that hears nothing from it for three `heartbeatMs`
// takes the link for dead and connects again.
std::string WebPage(std::string_view line1, std::string_view line2, std::uint16_t livePort, int heartbeatMs = 15000);

// A change as the live feed sends it: {"line1": ..., "line2": ...}.
std::string LinesMessage(const QString& line1, const QString& line2);

struct WebLimits {
  int pageWorkers = 4;               // page requests served at once
  int pageQueue = 8;                 // accepted connections waiting for a worker; beyond, accepting waits
  int ioTimeoutSeconds = 5;          // a page connection silent this long is closed
  int keepAliveRequests = 20;        // requests on one page connection
  std::size_t maxBody = 1024;        // a request's body (the page takes none); headers are the server's 8 KiB
  int maxLiveClients = 32;           // live connections; one more is refused
  int pendingHandshakes = 8;         // live connections still in their handshake
  int heartbeatMs = 15000;           // the lines are sent again this often, and each client pinged
  qint64 maxQueuedBytes = 64 << 10;  // written but not yet taken by a client: beyond, it waits for the latest
};

class WebDisplay : public QObject {
  Q_OBJECT
 public:
  explicit WebDisplay(WebLimits limits = {}, QObject* parent = nullptr);
  ~WebDisplay() override;
  WebDisplay(const WebDisplay&) = delete;
  WebDisplay& operator=(const WebDisplay&) = delete;

  // Listens for the page and the live feed; false with `error` set when either cannot.
  bool Start(const WebAddress& address, QString* error);
  std::uint16_t PagePort() const { return FPagePort; }
  std::uint16_t LivePort() const { return FLivePort; }
  const std::string& Host() const { return FHost; }
  int LiveClients() const { return static_cast<int>(FClients.size()); }
  // The most bytes any live client has not yet taken.
  qint64 MostQueued() const;

  // The lines changed: the page serves them from now on and every live client gets them.
  void Show(const QString& line1, const QString& line2);

 private:
  struct Client {
    bool stale = false;    // a change waits until the client takes what it has
    bool answered = true;  // the last ping was answered
  };
  void Accept();
  void Send(QWebSocket* socket, Client& client);
  void Heartbeat();
  void Drop(QWebSocket* socket);

  WebLimits FLimits;
  std::string FHost;
  std::uint16_t FPagePort = 0;
  std::uint16_t FLivePort = 0;
  // What the page threads read; shared, so a page thread left running at the end still
  // has it. The window holds the lock only to swap the lines in.
  struct PageState {
    std::mutex mutex;
    std::string line1, line2;
    std::string font;
    std::uint16_t livePort = 0;
  };
  std::shared_ptr<PageState> FPage = std::make_shared<PageState>();
  QString FMessage;  // the current lines as the feed sends them

  std::unique_ptr<httplib::Server> FHttp;
  std::thread FHttpThread;
  QWebSocketServer* FLive = nullptr;
  std::map<QWebSocket*, Client> FClients;
  QTimer FHeartbeat;
};

}  // namespace quindel
