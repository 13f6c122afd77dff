// The fetch rules every HTTP client follows: URL parts, read sizes, the read loop and its cap, and
// the one session of the process.
#include "update/fetch_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::fetch {
namespace {

TEST(CrackUrl, TakesTheUrlApart) {
  struct Case {
    std::string url;
    Scheme scheme;
    std::string host;
    int port;
    std::string user, password, object;
  } cases[] = {
      {"http://update.test/vs/1.txt", Scheme::kHttp, "update.test", 80, "", "", "/vs/1.txt"},
      {"https://update.test/vs/1.txt", Scheme::kHttps, "update.test", 443, "", "", "/vs/1.txt"},
      {"HTTP://Update.Test:8478/a?b=c", Scheme::kHttp, "Update.Test", 8478, "", "", "/a?b=c"},
      {"http://h/a?q=1#frag", Scheme::kHttp, "h", 80, "", "", "/a?q=1"},
      {"http://h/a#frag?not=query", Scheme::kHttp, "h", 80, "", "", "/a"},
      {"http://h", Scheme::kHttp, "h", 80, "", "", "/"},
      {"http://h#top", Scheme::kHttp, "h", 80, "", "", "/"},
      {"http://h?x=1", Scheme::kHttp, "h", 80, "", "", "/?x=1"},
      {"http://h:0/", Scheme::kHttp, "h", 80, "", "", "/"},
      {"https://h:/", Scheme::kHttps, "h", 443, "", "", "/"},
      {"http://me:pw@h:81/x", Scheme::kHttp, "h", 81, "me", "pw", "/x"},
      {"http://me@h/x", Scheme::kHttp, "h", 80, "me", "", "/x"},
      {"http://[::1]:8080/x", Scheme::kHttp, "[::1]", 8080, "", "", "/x"},
      {std::string("http://h/").append(2046, 'a'), Scheme::kHttp, "h", 80, "", "",
       std::string("/").append(2046, 'a')},
      {std::string("http://").append(255, 'h').append("/"), Scheme::kHttp, std::string(255, 'h'),
       80, "", "", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url.substr(0, 80));
    const std::optional<UrlParts> parts = CrackUrl(c.url);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->scheme, c.scheme);
    EXPECT_EQ(parts->host, c.host);
    EXPECT_EQ(parts->port, c.port);
    EXPECT_EQ(parts->user, c.user);
    EXPECT_EQ(parts->password, c.password);
    EXPECT_EQ(parts->object, c.object);
  }
}

TEST(CrackUrl, RejectsWhatNoRequestCanBeMadeOf) {
  const std::string rejected[] = {
      "",
      "update.test/vs/1.txt",
      "ftp://h/x",
      "file:///etc/passwd",
      "http:///x",
      "http://h:port/x",
      "http://h:65536/x",
      "http://[::1/x",
      std::string("http://").append(256, 'h').append("/"),
      std::string("http://h/").append(2047, 'a'),
      std::string("http://h/a#").append(2045, 'f'),  // the fragment counts toward the path's size
      std::string("http://").append(128, 'u').append("@h/"),
      std::string("http://u:").append(128, 'p').append("@h/"),
  };
  for (const std::string& url : rejected) {
    EXPECT_FALSE(CrackUrl(url).has_value()) << url.substr(0, 80);
  }
}

TEST(RequestUrl, NamesSchemeHostPortAndObjectOnly) {
  EXPECT_EQ(RequestUrl(*CrackUrl("http://me:pw@h/vs/1.txt#x")), "http://h:80/vs/1.txt");
  EXPECT_EQ(RequestUrl(*CrackUrl("https://[::1]/?a")), "https://[::1]:443/?a");
}

TEST(RequestFlags, ReloadAndNoCacheWriteAndSecureForHttps) {
  EXPECT_EQ(RequestFlags(Scheme::kHttp), 0x84000000u);
  EXPECT_EQ(RequestFlags(Scheme::kHttps), 0x84800000u);
  EXPECT_EQ(std::string(kHeaders).size(), kHeadersLength);
}

TEST(ReadSizeFor, FollowsTheAnnouncedLengthReadAsAtolDoes) {
  struct Case {
    const char* length;  // null: no length announced
    std::uint32_t read_size;
  } cases[] = {
      {nullptr, 10240},
      {"", 10240},
      {"0", 10240},
      {"-5", 10240},
      {"abc", 10240},
      {"5", 6},
      {" 5", 6},
      {"\t+5", 6},
      {"5abc", 6},
      {"- 5", 10240},
      {"1", 2},
      {"10239", 10240},
      {"102398", 102399},
      {"102399", 102400},
      {"102400", 102400},
      {"99999999999", 102400},
      {"2147483647", 102400},
      {"-99999999999", 10240},
      {"0x10", 10240},
      {"00012", 13},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSizeFor(c.length), c.read_size) << (c.length ? c.length : "(none)");
  }
}

// Hands out scripted reads: a chunk of bytes each, or a failure; then the end of the body.
class ScriptedSource : public BodySource {
 public:
  struct Step {
    std::string bytes;
    bool fails = false;
  };
  explicit ScriptedSource(std::deque<Step> reads) : reads_(std::move(reads)) {}
  bool Read(unsigned char* buffer, std::uint32_t size, std::uint32_t* got) override {
    asked.push_back(size);
    *got = 0;
    if (reads_.empty()) return true;
    const Step r = reads_.front();
    reads_.pop_front();
    if (r.fails) return false;
    const std::size_t n = std::min<std::size_t>(size, r.bytes.size());
    std::copy_n(r.bytes.data(), n, buffer);
    *got = static_cast<std::uint32_t>(n);
    return true;
  }
  std::vector<std::uint32_t> asked;

 private:
  std::deque<Step> reads_;
};

TEST(ReadBody, ReadsUntilAReadBringsNothingOrFails) {
  struct Case {
    std::deque<ScriptedSource::Step> reads;
    std::uint32_t read_size;
    std::string body;
    std::size_t reads_made;
  } cases[] = {
      {{{"hello"}}, 6, "hello", 2},
      {{}, 10240, "", 1},
      {{{"ab"}, {std::string("\0c", 2)}, {"d"}}, 10240, std::string("ab\0cd", 5), 4},
      {{{"ab"}, {"", true}, {"never"}}, 10240, "ab", 2},
      {{{"", true}}, 10240, "", 1},
      {{{"ab"}, {""}, {"after the end"}}, 10240, "ab", 2},
  };
  for (Case& c : cases) {
    ScriptedSource source(c.reads);
    const Bytes body = ReadBody(source, c.read_size);
    EXPECT_EQ(body.chars(), c.body);
    EXPECT_EQ(body.empty(), c.body.empty());
    EXPECT_EQ(source.asked.size(), c.reads_made);
    for (std::uint32_t asked : source.asked) EXPECT_EQ(asked, c.read_size);
  }
}

TEST(ReadBody, StopsAtTheCapAndKeepsWhatWasRead) {
  ScriptedSource source({{"abcd"}, {"efgh"}, {"ijkl"}, {"never read"}});
  const Bytes body = ReadBody(source, 4, 10);
  EXPECT_EQ(body.chars(), "abcdefghij");
  EXPECT_EQ(source.asked, (std::vector<std::uint32_t>{4, 4, 2}));
}

// An endless body of 100 KiB reads: the 16 MiB cap ends it.
class EndlessSource : public BodySource {
 public:
  bool Read(unsigned char* buffer, std::uint32_t size, std::uint32_t* got) override {
    for (std::uint32_t i = 0; i < size; ++i)
      buffer[i] = static_cast<unsigned char>(offset_++ % 251);
    *got = size;
    return true;
  }

 private:
  std::size_t offset_ = 0;
};

TEST(ReadBody, AnEndlessBodyEndsAt16MiBWithEveryByteInOrder) {
  EndlessSource source;
  const Bytes body = ReadBody(source, kMaxReadSize);
  ASSERT_EQ(body.size(), std::size_t{16} << 20);
  for (std::size_t i = 0; i < body.size(); i += 4099) ASSERT_EQ(body.data()[i], i % 251) << i;
}

TEST(ReadBody, NoReadBufferMeansNothingRead) {
  SetAllocationFailureHookForTesting([](std::size_t n) { return n == 6; });
  ScriptedSource source({{"hello"}});
  const Bytes body = ReadBody(source, 6);
  SetAllocationFailureHookForTesting(nullptr);
  EXPECT_TRUE(body.empty());
  EXPECT_TRUE(source.asked.empty());
}

TEST(BodyCollector, TakesChunksUpToTheLimit) {
  BodyCollector body(5);
  EXPECT_TRUE(body.Take({reinterpret_cast<const unsigned char*>("abc"), 3}));
  EXPECT_FALSE(body.Take({reinterpret_cast<const unsigned char*>("defg"), 4}));
  EXPECT_EQ(body.room(), 0u);
  EXPECT_EQ(body.Finish().chars(), "abcde");
}

// A session whose opens fail while `failures` is above 0.
struct FakeSession {
  static inline int opens = 0;
  static inline int failures = 0;
  static std::unique_ptr<FakeSession> Open() {
    ++opens;
    if (failures > 0) {
      --failures;
      return nullptr;
    }
    return std::make_unique<FakeSession>();
  }
};

TEST(HttpClient, OpensOnFirstUseRetriesAfterAFailedOpenAndThenKeepsTheSession) {
  FakeSession::opens = 0;
  FakeSession::failures = 2;
  HttpClient<FakeSession> client;
  EXPECT_EQ(client.current(), nullptr);
  EXPECT_EQ(client.Get(), nullptr);
  EXPECT_EQ(client.Get(), nullptr);
  FakeSession* session = client.Get();
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(client.Get(), session);
  EXPECT_EQ(client.Get(), session);
  EXPECT_EQ(FakeSession::opens, 3);
}

}  // namespace
}  // namespace orvane::fetch
