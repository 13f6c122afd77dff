// The real WebBrowser control under the container: created and focused, the landing navigation
// shows the overlay, and a false answer to AboutToNavigate keeps the request from the server.
#include <winsock2.h>
// (winsock2.h before windows.h)
#include <windows.h>
// (windows.h before the other system headers)

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "browser/win32/browser_host.h"
#include "win32_test_support.h"

namespace orvane::win {
namespace {

using testing::MainWindowFixture;
using testing::PumpFor;
using testing::PumpUntil;

// A listener on a free port of 127.0.0.1 that counts the connections it is offered and answers
// each with a small page.
class CountingServer {
 public:
  CountingServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] {
      for (;;) {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        ++connections_;
        char request[2048];
        recv(s, request, sizeof request, 0);
        static const char kReply[] =
            "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
            "13\r\n\r\n<p>hello</p>\n";
        send(s, kReply, sizeof kReply - 1, 0);
        closesocket(s);
      }
    });
  }
  ~CountingServer() {
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  std::string Url(const char* path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int connections() const { return connections_.load(); }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::thread thread_;
  std::atomic<int> connections_{0};
};

TEST(WebBrowserControl, IsCreatedInsideTheContainerAndHasTheFocus) {
  MainWindowFixture f;
  ASSERT_TRUE(f.Load());
  const HWND engine = f.window->browser_host().engine_window();
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(IsChild(f.window->browser(), engine));
  EXPECT_TRUE(IsWindowVisible(engine));
  const HWND focus = GetFocus();
  EXPECT_TRUE(focus == engine || IsChild(engine, focus));
  EXPECT_FALSE(f.window->browser_host().Offline());
  EXPECT_FALSE(f.window->browser_host().Silent());
}

TEST(WebBrowserControl, TheLandingNavigationRaisesAboutToNavigateAndShowsTheOverlay) {
  CountingServer server;
  MainWindowFixture f;
  const std::string landing = server.Url("/gs.html");
  f.options.first_activation = [&](MainWindow& shown) { shown.pane().SetUrl(landing.c_str()); };
  ASSERT_TRUE(f.Load());
  EXPECT_TRUE(IsWindowVisible(f.window->overlay()));
  EXPECT_TRUE(PumpUntil([&] { return server.connections() > 0; }, 10000));
}

// Answers AboutToNavigate as told and remembers the address it saw.
class AnsweringHandler final : public BrowserPaneHandler {
 public:
  explicit AnsweringHandler(std::optional<bool> answer) : answer_(answer) {}
  std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs&) override {
    if (event == BrowserEvent::kAboutToNavigate) {
      ++asked;
      if (pane) seen = std::string(pane->GetUrl().view());
      return answer_;
    }
    return std::nullopt;
  }
  BrowserPane* pane = nullptr;
  int asked = 0;
  std::string seen;

 private:
  std::optional<bool> answer_;
};

TEST(WebBrowserControl, OnlyAFalseAnswerKeepsTheRequestFromTheServer) {
  OleInitialize(nullptr);
  struct Case {
    std::optional<bool> answer;
    bool reaches_server;
  } cases[] = {{false, false}, {true, true}, {std::nullopt, true}};
  for (const Case& c : cases) {
    CountingServer server;
    AnsweringHandler handler(c.answer);
    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                        400, 300, nullptr, nullptr, nullptr, nullptr);
    auto host = BrowserHost::Create(parent, {0, 0, 400, 300}, 1, WS_VISIBLE, {}, &handler);
    ASSERT_TRUE(host);
    handler.pane = &host->pane();
    const std::string url = server.Url("/page.html");
    host->pane().SetUrl(url.c_str());
    EXPECT_EQ(handler.asked, 1);
    EXPECT_EQ(handler.seen, url);
    if (c.reaches_server) {
      EXPECT_TRUE(PumpUntil([&] { return server.connections() > 0; }, 10000));
    } else {
      PumpFor(1500);
      EXPECT_EQ(server.connections(), 0);
    }
    host.reset();
    DestroyWindow(parent);
  }
  OleUninitialize();
}

}  // namespace
}  // namespace orvane::win
