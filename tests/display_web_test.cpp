// The display's web page in a real browser: Debian's headless Chromium loads the page a
// running display serves, and follows what clients send to the display's TCP port.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>

#include "testing/temp_store.h"
#include "tests/headless_browser.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;

const std::string kStart1 = "             Zelmor Quindel             ";

// The text of the element `id` in a dumped page, with the page's five escapes undone.
std::string ElementText(const std::string& dom, const std::string& id) {
  const std::string open = "<div id=\"" + id + "\">";
  const std::size_t a = dom.find(open);
  if (a == std::string::npos) return "(no element " + id + ")";
  const std::size_t b = dom.find("</div>", a);
  std::string text = dom.substr(a + open.size(), b - a - open.size());
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                 {"&gt;", ">"},
                                 {"&quot;", "\""},
                                 {"&#39;", "'"},
                                 {"&amp;", "&"}}) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
      text.replace(at, from.size(), to);
  }
  return text;
}

// A script string literal.
std::string Js(const std::string& text) { return nlohmann::json(text).dump(); }

class DisplayWeb : public ::testing::Test {
 protected:
  void SetUp() override {
    chromium = FindChromium();
    if (chromium.empty()) GTEST_SKIP() << "no chromium on the PATH (tools/setup-deps.sh installs it)";
  }

  // Starts the display headless (its echo tells when a message was taken) with the page
  // on `web`; answers the page's address once the display says it, empty when it cannot serve it.
  std::string Start(const std::string& web = "127.0.0.1:0") {
    port = FreePort();
    quindel = std::make_unique<ChildProcess>(
        BinDir() + "/quindel", std::vector<std::string>{"--port", std::to_string(port), "--web", web},
        std::vector<std::string>{"LC_ALL=C.UTF-8", "XDG_CONFIG_HOME=" + home.Path()},
        std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    const std::regex said(R"(web page on (http://\S+/) \(live updates on port (\d+)\))");
    for (int i = 0; i < 1000; ++i) {
      std::smatch m;
      const std::string err = quindel->Err();
      if (err.find("the page is not served") != std::string::npos) return {};
      if (std::regex_search(err, m, said)) {
        livePort = std::stoi(m[2]);
        std::string line;
        EXPECT_TRUE(quindel->ReadLine(line, 10s)) << "no echo of the start-up lines";
        return m[1];
      }
      if (!quindel->Running()) break;
      std::this_thread::sleep_for(20ms);
    }
    return {};  // it did not say where its page is
  }

  // Sends a message as a till does (Windows-1252 bytes, line 1, 0xBF, line 2) and waits
  // for the display's echo of it, which it answers (null when none came).
  nlohmann::json Send(const std::string& bytes) {
    const int s = ConnectLoopback(port);
    EXPECT_GE(s, 0);
    EXPECT_EQ(::send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    ::close(s);
    std::string line;
    EXPECT_TRUE(quindel->ReadLine(line, 10s)) << quindel->Err();
    return nlohmann::json::parse(line, nullptr, false);
  }

  std::string chromium;
  int port = 0;
  int livePort = 0;
  TemporaryFolder home;
  std::unique_ptr<ChildProcess> quindel;
};

TEST_F(DisplayWeb, APageOpenedAfterAMessageShowsIt) {
  const std::string url = Start();
  ASSERT_FALSE(url.empty()) << quindel->Err();
  struct Case {
    const char* bytes;  // as sent
    const char* line1;  // as the page has it (UTF-8)
    const char* line2;
  };
  const Case cases[] = {
      {"Coca-Cola 2L\xBF"
       "R$ 9,99",
       "Coca-Cola 2L", "R$ 9,99"},
      {"P\xE3o de a\xE7\xFA"
       "car\xBF"
       "Total: R$ 3,50",
       "Pão de açúcar", "Total: R$ 3,50"},                                       // Windows-1252 letters
      {"<b>M&M's</b>\xBF\"A&B\" <script>", "<b>M&M's</b>", "\"A&B\" <script>"},  // markup stays text
      {"\xBF", "", ""},                                                          // both lines blank
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line1);
    Send(c.bytes);
    const auto dom = DumpDom(chromium, url);
    ASSERT_TRUE(dom.has_value()) << "chromium did not dump the page";
    EXPECT_EQ(ElementText(*dom, "line1"), c.line1);
    EXPECT_EQ(ElementText(*dom, "line2"), c.line2);
    EXPECT_EQ(dom->find("<b>M"), std::string::npos) << "markup from a message was taken as markup";
  }
}

TEST_F(DisplayWeb, AnOpenPageFollowsMessagesWithoutReloading) {
  const std::string url = Start();
  ASSERT_FALSE(url.empty()) << quindel->Err();
  HeadlessBrowser browser(chromium);
  ASSERT_TRUE(browser.Ready()) << browser.Log();
  ASSERT_TRUE(browser.Open(url)) << browser.Log();
  ASSERT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === " + Js(kStart1), 30s));
  // Set in this load of the page: still there after the updates means no reload happened.
  ASSERT_TRUE(browser.Evaluate("window.sameLoad = 42"));
  const std::pair<std::string, std::string> messages[] = {
      {"Arroz 5kg", "R$ 24,90"}, {"Feij\xE3o", "R$ 8,49"}, {"", "Total R$ 33,39"}};
  const std::pair<std::string, std::string> shown[] = {
      {"Arroz 5kg", "R$ 24,90"}, {"Feijão", "R$ 8,49"}, {"", "Total R$ 33,39"}};
  for (std::size_t i = 0; i < std::size(messages); ++i) {
    Send(messages[i].first + "\xBF" + messages[i].second);
    EXPECT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === " + Js(shown[i].first) +
                                    " && document.getElementById('line2').textContent === " + Js(shown[i].second),
                                30s))
        << "the page still shows " << browser.Evaluate("document.getElementById('lcd').textContent")->dump();
  }
  EXPECT_EQ(browser.Evaluate("window.sameLoad"), nlohmann::json(42));
  EXPECT_EQ(browser.Evaluate("document.body.classList.contains('offline')"), nlohmann::json(false));
  // The forty columns fill the page's width, in the display's own typeface.
  const auto fit = browser.Evaluate(
      "(() => { const r = document.getElementById('line2').getBoundingClientRect();"
      " return r.width / document.documentElement.clientWidth; })()");
  ASSERT_TRUE(fit && fit->is_number());
  EXPECT_NEAR(fit->get<double>(), 1.0, 0.02);
  EXPECT_EQ(
      browser.Evaluate("document.fonts.check('16px \"JD LCD Rounded\"') && "
                       "[...document.fonts].some(f => f.family.includes('JD LCD Rounded') && f.status === 'loaded')"),
      nlohmann::json(true));
}

TEST_F(DisplayWeb, APageReconnectsByItselfWhenTheDisplayComesBack) {
  // Fixed ports, as a till has them: the page knows where the feed is.
  std::string url;
  for (int i = 0; i < 10 && url.empty(); ++i) url = Start("127.0.0.1:" + std::to_string(FreePort()));
  ASSERT_FALSE(url.empty()) << quindel->Err();
  HeadlessBrowser browser(chromium);
  ASSERT_TRUE(browser.Open(url)) << browser.Log();
  ASSERT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === " + Js(kStart1), 30s));
  ASSERT_TRUE(browser.Evaluate("window.sameLoad = 7"));

  // The display ends without a word (a crash, a restart by the service manager).
  const int pagePort = std::stoi(url.substr(url.rfind(':') + 1));
  quindel->Kill();
  EXPECT_TRUE(browser.WaitFor("document.body.classList.contains('offline')", 30s)) << "the drop was not shown";

  // Back on the same ports: the page finds it again and follows it.
  ASSERT_EQ(Start("127.0.0.1:" + std::to_string(pagePort)), url) << quindel->Err();
  EXPECT_TRUE(browser.WaitFor("!document.body.classList.contains('offline')", 30s)) << browser.Log();
  Send("De volta\xBFR$ 1,00");
  EXPECT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === 'De volta'", 30s));
  EXPECT_EQ(browser.Evaluate("window.sameLoad"), nlohmann::json(7));
}

TEST_F(DisplayWeb, WhatABrowserSendsNeverReachesTheDisplay) {
  const std::string url = Start();
  ASSERT_FALSE(url.empty()) << quindel->Err();
  HeadlessBrowser browser(chromium);
  ASSERT_TRUE(browser.Open(url)) << browser.Log();
  Send(
      "Antes\xBF"
      "1,00");
  ASSERT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === 'Antes'", 30s));
  // A script in the page opens its own connection to the live feed and talks to it.
  const auto closed = browser.Evaluate(
      "new Promise(done => {"
      "  const ws = new WebSocket('ws://127.0.0.1:" +
          std::to_string(livePort) +
          "/');"
          "  ws.onopen = () => ws.send('Hacked\\u00bfR$ 0,00');"
          "  ws.onclose = (e) => done(e.code);"
          "  setTimeout(() => done('still open'), 20000);"
          "})",
      30s);
  ASSERT_TRUE(closed.has_value());
  EXPECT_EQ(*closed, nlohmann::json(1003)) << "a connection that sends is closed as read-only";
  // The display took nothing from it: the next change it echoes is the next message.
  EXPECT_EQ(Send("Depois\xBF"
                 "2,00")
                .value("line1", ""),
            "Depois");
  EXPECT_TRUE(browser.WaitFor("document.getElementById('line1').textContent === 'Depois'", 30s));
}

}  // namespace
}  // namespace zelmor::testing
