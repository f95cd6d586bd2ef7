#include "app/web_display.h"

#include <httplib.h>

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>
#include <QWebSocketServer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <vector>

#include "app/lcd_font.h"
#include "core/integer_text.h"

namespace quindel {
namespace {

// A line keeps this many characters on the way to a browser: the page shows 40.
constexpr qsizetype kWebLineLimit = 200;

// How long the window's thread waits, at the end, for the page threads; a client that
// still holds one after that is left to the process's end.
constexpr auto kStopWait = std::chrono::seconds(3);

// The page's connections run on a fixed set of workers. When all are busy and the queue
// is full, the accepting thread waits here: further connections stay in the system's
// backlog instead of each taking a thread or a descriptor.
class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(int workers, int queue) : FQueue(static_cast<std::size_t>(queue)) {
    for (int i = 0; i < workers; ++i) FThreads.emplace_back([this] { Work(); });
  }
  void enqueue(std::function<void()> fn) override {
    std::unique_lock lock(FMutex);
    FRoom.wait(lock, [this] { return FJobs.size() < FQueue || FStopping; });
    FJobs.push_back(std::move(fn));
    FReady.notify_one();
  }
  void shutdown() override {
    {
      std::lock_guard lock(FMutex);
      FStopping = true;
    }
    FReady.notify_all();
    FRoom.notify_all();
    for (auto& t : FThreads) t.join();
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(FMutex);
        FReady.wait(lock, [this] { return !FJobs.empty() || FStopping; });
        if (FJobs.empty()) return;  // stopping, and every accepted connection was served
        job = std::move(FJobs.front());
        FJobs.pop_front();
        FRoom.notify_one();
      }
      job();  // serves the connection and closes it
    }
  }

  const std::size_t FQueue;
  std::mutex FMutex;
  std::condition_variable FReady, FRoom;
  std::deque<std::function<void()>> FJobs;
  std::vector<std::thread> FThreads;
  bool FStopping = false;
};

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
}

// The page. The lines are its text already; the script only keeps them current, fits
// the 40 columns to the browser's width, and dims them while the feed is down.
constexpr std::string_view kPageHead = R"(<!DOCTYPE html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Zelmor Quindel</title>
<style>
@font-face { font-family: "JD LCD Rounded"; src: url("/lcd.ttf") format("truetype"); font-display: block; }
html, body { margin: 0; height: 100%; background: rgb(193, 255, 193); color: #000; overflow: hidden; }
#lcd { font-family: "JD LCD Rounded", monospace; font-size: 4vw; line-height: 1.1; white-space: pre; }
#lcd div { width: 40ch; overflow: hidden; }
body.offline #lcd { opacity: 0.35; }
</style>
</head>
)";

constexpr std::string_view kPageScript = R"(<script>
"use strict";
(() => {
  const lcd = document.getElementById("lcd");
  const lines = [document.getElementById("line1"), document.getElementById("line2")];
  const livePort = Number(document.body.dataset.livePort);
  const heartbeatMs = Number(document.body.dataset.heartbeat);
  // 40 columns fill the width: the font size scales with the measured width of a line box.
  function fit() {
    const size = parseFloat(getComputedStyle(lcd).fontSize);
    const width = lines[0].getBoundingClientRect().width;
    if (size > 0 && width > 0) lcd.style.fontSize = (size * document.documentElement.clientWidth / width) + "px";
  }
  window.addEventListener("resize", fit);
  document.fonts.ready.then(fit);
  fit();
  function show(line1, line2) {
    if (lines[0].textContent !== line1) lines[0].textContent = line1;
    if (lines[1].textContent !== line2) lines[1].textContent = line2;
    window.quindelShown = { line1, line2, at: performance.timeOrigin + performance.now() };
  }
  let delay = 250, watchdog = 0;
  function connect() {
    let host = location.hostname;
    if (host.includes(":") && !host.startsWith("[")) host = "[" + host + "]";
    const ws = new WebSocket("ws://" + host + ":" + livePort + "/");
    const quiet = () => {
      clearTimeout(watchdog);
      watchdog = setTimeout(() => ws.close(), 3 * heartbeatMs);  // nothing heard: a dead link
    };
    ws.onopen = () => { document.body.classList.remove("offline"); delay = 250; quiet(); };
    ws.onmessage = (e) => {
      quiet();
      try { const m = JSON.parse(e.data); show(String(m.line1), String(m.line2)); } catch (_) {}
    };
    ws.onclose = () => {
      clearTimeout(watchdog);
      document.body.classList.add("offline");
      setTimeout(connect, delay);
      delay = Math.min(delay * 2, 5000);
    };
  }
  connect();
})();
</script>
</body>
</html>
)";

std::string Utf8(const QString& line) { return line.left(kWebLineLimit).toUtf8().toStdString(); }

}  // namespace

std::optional<WebAddress> ParseWebAddress(std::string_view text) {
  WebAddress a;
  std::string_view portText = text;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find("]:");
    if (close == std::string_view::npos) return std::nullopt;
    a.host = std::string(text.substr(1, close - 1));
    portText = text.substr(close + 2);
    if (QHostAddress(QString::fromStdString(a.host)).protocol() != QAbstractSocket::IPv6Protocol) return std::nullopt;
  } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    a.host = std::string(text.substr(0, colon));
    portText = text.substr(colon + 1);
    // Four numbers: the system would also read "10.1" as 10.0.0.1, which is not what a user means.
    if (QHostAddress(QString::fromStdString(a.host)).protocol() != QAbstractSocket::IPv4Protocol ||
        std::count(a.host.begin(), a.host.end(), '.') != 3)
      return std::nullopt;
  }
  if (portText.empty() || portText.size() > 5) return std::nullopt;
  unsigned port = 0;
  for (char c : portText) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + static_cast<unsigned>(c - '0');
  }
  if (port > 65534) return std::nullopt;
  a.port = static_cast<std::uint16_t>(port);
  return a;
}

std::string WebPage(std::string_view line1, std::string_view line2, std::uint16_t livePort, int heartbeatMs) {
  std::string page(kPageHead);
  page += "<body data-live-port=\"" + std::to_string(livePort) + "\" data-heartbeat=\"" + std::to_string(heartbeatMs) +
          "\">\n<div id=\"lcd\"><div id=\"line1\">";
  AppendEscaped(page, line1);
  page += "</div><div id=\"line2\">";
  AppendEscaped(page, line2);
  page += "</div></div>\n";
  page += kPageScript;
  return page;
}

std::string LinesMessage(const QString& line1, const QString& line2) {
  QJsonObject o;
  o.insert(QStringLiteral("line1"), line1.left(kWebLineLimit));
  o.insert(QStringLiteral("line2"), line2.left(kWebLineLimit));
  return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

WebDisplay::WebDisplay(WebLimits limits, QObject* parent) : QObject(parent), FLimits(limits) {
  FHeartbeat.setInterval(FLimits.heartbeatMs);
  connect(&FHeartbeat, &QTimer::timeout, this, &WebDisplay::Heartbeat);
}

WebDisplay::~WebDisplay() {
  for (auto& [socket, client] : FClients) {
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  FClients.clear();
  if (!FHttp) return;
  // A stop before the listening thread has started would be lost: it checks whether the
  // server runs yet, and the thread would then run on.
  for (int i = 0; i < 3000 && !FHttp->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  FHttp->stop();
  if (!FHttpThread.joinable()) return;
  // The listening thread ends once its workers have; a worker waits at most its I/O
  // time-out per read, which a peer that trickles bytes can repeat. Past the wait, the
  // server stays behind (with what it references) for the process's end.
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> ended = done->get_future();
  std::thread joiner([t = std::move(FHttpThread), done]() mutable {
    t.join();
    done->set_value();
  });
  if (ended.wait_for(kStopWait) == std::future_status::ready) {
    joiner.join();
  } else {
    joiner.detach();
    (void)FHttp.release();
  }
}

bool WebDisplay::Start(const WebAddress& address, QString* error) {
  const auto fail = [error](const QString& message) {
    if (error) *error = message;
    return false;
  };
  FHost = address.host;
  try {
    FPage->font = EmbeddedFont().toStdString();
  } catch (const std::exception& e) {
    return fail(QString::fromUtf8(e.what()));
  }
  const QHostAddress host(QString::fromStdString(address.host));
  if (host.isNull())
    return fail(QStringLiteral("\"%1\" is not an IP address").arg(QString::fromStdString(address.host)));

  FHttp = std::make_unique<httplib::Server>();
  const WebLimits limits = FLimits;
  FHttp->new_task_queue = [limits] { return new BoundedPool(limits.pageWorkers, limits.pageQueue); };
  FHttp->set_read_timeout(limits.ioTimeoutSeconds, 0);
  FHttp->set_write_timeout(limits.ioTimeoutSeconds, 0);
  FHttp->set_keep_alive_timeout(limits.ioTimeoutSeconds);
  FHttp->set_keep_alive_max_count(static_cast<std::size_t>(limits.keepAliveRequests));
  FHttp->set_payload_max_length(limits.maxBody);
  FHttp->Get("/", [page = FPage, heartbeat = limits.heartbeatMs](const httplib::Request&, httplib::Response& res) {
    std::string line1, line2;
    std::uint16_t livePort = 0;
    {
      std::lock_guard lock(page->mutex);
      line1 = page->line1;
      line2 = page->line2;
      livePort = page->livePort;
    }
    res.set_content(WebPage(line1, line2, livePort, heartbeat), "text/html; charset=utf-8");
    res.set_header("Cache-Control", "no-store");
  });
  FHttp->Get("/lcd.ttf", [page = FPage](const httplib::Request&, httplib::Response& res) {
    res.set_content(page->font, "font/ttf");  // written once, before the page threads start
    res.set_header("Cache-Control", "max-age=86400");
  });

  errno = 0;
  int bound = -1;
  if (address.port == 0) {
    bound = FHttp->bind_to_any_port(address.host);
  } else if (FHttp->bind_to_port(address.host, address.port)) {
    bound = address.port;
  }
  if (bound <= 0) {
    const int e = errno;
    FHttp.reset();
    return fail(QStringLiteral("cannot listen on %1 port %2 for the web page%3")
                    .arg(QString::fromStdString(address.host))
                    .arg(address.port)
                    .arg(e ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e)) : QString()));
  }
  FPagePort = static_cast<std::uint16_t>(bound);

  FLive = new QWebSocketServer(QStringLiteral("quindel"), QWebSocketServer::NonSecureMode, this);
  FLive->setMaxPendingConnections(FLimits.pendingHandshakes);
  FLive->setHandshakeTimeout(FLimits.ioTimeoutSeconds * 1000);
  const quint16 livePort = address.port == 0 ? 0 : static_cast<quint16>(address.port + 1);
  if (!FLive->listen(host, livePort)) {
    const QString why = FLive->errorString();
    delete FLive;
    FLive = nullptr;
    FHttp.reset();  // never listened: nothing to stop
    return fail(QStringLiteral("cannot listen on %1 port %2 for the page's live updates: %3")
                    .arg(QString::fromStdString(address.host))
                    .arg(livePort)
                    .arg(why));
  }
  FLivePort = FLive->serverPort();
  {
    std::lock_guard lock(FPage->mutex);
    FPage->livePort = FLivePort;
  }
  connect(FLive, &QWebSocketServer::newConnection, this, &WebDisplay::Accept);
  FHttpThread = std::thread([server = FHttp.get()] { server->listen_after_bind(); });
  FHeartbeat.start();
  return true;
}

void WebDisplay::Show(const QString& line1, const QString& line2) {
  {
    std::string a = Utf8(line1), b = Utf8(line2);
    std::lock_guard lock(FPage->mutex);
    FPage->line1.swap(a);
    FPage->line2.swap(b);
  }
  FMessage = QString::fromStdString(LinesMessage(line1, line2));
  for (auto& [socket, client] : FClients) {
    client.stale = true;
    Send(socket, client);
  }
}

qint64 WebDisplay::MostQueued() const {
  qint64 most = 0;
  for (const auto& [socket, client] : FClients) most = std::max(most, socket->bytesToWrite());
  return most;
}

void WebDisplay::Accept() {
  while (QWebSocket* socket = FLive->nextPendingConnection()) {
    if (static_cast<int>(FClients.size()) >= FLimits.maxLiveClients) {
      socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("too many viewers"));
      connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
      continue;
    }
    // The page never sends anything: a peer that does is not the page, and is closed.
    socket->setMaxAllowedIncomingFrameSize(125);
    socket->setMaxAllowedIncomingMessageSize(125);
    const auto refuse = [this, socket] {
      socket->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported, QStringLiteral("read-only"));
      Drop(socket);
    };
    connect(socket, &QWebSocket::textMessageReceived, this, refuse);
    connect(socket, &QWebSocket::binaryMessageReceived, this, refuse);
    connect(socket, &QWebSocket::disconnected, this, [this, socket] { Drop(socket); });
    connect(socket, &QWebSocket::pong, this, [this, socket] {
      if (auto it = FClients.find(socket); it != FClients.end()) it->second.answered = true;
    });
    // A change that waited for a slow client goes once what it had is taken.
    connect(socket, &QWebSocket::bytesWritten, this, [this, socket] {
      if (auto it = FClients.find(socket); it != FClients.end() && it->second.stale) Send(socket, it->second);
    });
    Client& client = FClients[socket];
    client.stale = true;
    Send(socket, client);
  }
}

void WebDisplay::Send(QWebSocket* socket, Client& client) {
  // Only the latest lines matter: a client that has not taken what it was sent gets
  // nothing more until it has, so a slow browser costs a bounded buffer, never the window.
  if (socket->bytesToWrite() > FLimits.maxQueuedBytes) return;
  if (FMessage.isEmpty()) FMessage = QString::fromStdString(LinesMessage(QString(), QString()));
  socket->sendTextMessage(FMessage);
  client.stale = false;
}

void WebDisplay::Heartbeat() {
  std::vector<QWebSocket*> silent;
  for (auto& [socket, client] : FClients) {
    if (!client.answered) {
      silent.push_back(socket);
      continue;
    }
    client.answered = false;
    socket->ping();
    client.stale = true;  // also tells the page the link is alive
    Send(socket, client);
  }
  for (QWebSocket* socket : silent) {
    socket->abort();
    Drop(socket);
  }
}

void WebDisplay::Drop(QWebSocket* socket) {
  if (FClients.erase(socket) == 0) return;
  socket->disconnect(this);
  socket->deleteLater();
}

}  // namespace quindel
