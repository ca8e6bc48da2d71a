// The DDE library between two processes: execute transactions and their answers,
// time-outs, peers of another user, private directories, and clients that send junk.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "platform/dde/frame.h"
#include "platform/dde/testing.h"
#include "platform/dde/transport.h"
#include "tests/unit/dde_test_support.h"

namespace vorn::testing {
namespace {

namespace fs = std::filesystem;

DWORD Accept(const std::string&) { return DDE_FACK; }

using DdeTransport = DdeEnvironment;

TEST_F(DdeTransport, AnExecuteReachesTheServerWithItsTerminatorAndIsAcknowledged) {
  ForkedServer server("VornTest", Accept);
  DdeClient client;
  // Service names ignore case.
  HCONV conversation = client.Connect("vorntest", "Topic");
  ASSERT_NE(conversation, nullptr);
  DWORD result = 0;
  EXPECT_EQ(client.Execute(conversation, "[Hello(1)]", 5000, &result), reinterpret_cast<HDDEDATA>(TRUE));
  EXPECT_EQ(result, static_cast<DWORD>(DDE_FACK));
  EXPECT_TRUE(DdeDisconnect(conversation));
  EXPECT_EQ(server.Received(), std::vector<std::string>{std::string("[Hello(1)]", 11)});
}

TEST_F(DdeTransport, RefusedAndBusyAnswersFailTheTransaction) {
  const struct {
    DWORD answer;
    UINT error;
  } cases[] = {{DDE_FNOTPROCESSED, DMLERR_NOTPROCESSED}, {DDE_FBUSY, DMLERR_BUSY}};
  for (const auto& c : cases) {
    ForkedServer server("VornTest", [&](const std::string&) { return c.answer; });
    DdeClient client;
    HCONV conversation = client.Connect("VornTest", "Topic");
    ASSERT_NE(conversation, nullptr);
    EXPECT_EQ(client.Execute(conversation, "[x()]", 5000), nullptr);
    EXPECT_EQ(DdeGetLastError(client.instance()), c.error);
  }
}

TEST_F(DdeTransport, NobodyServingMeansNoConversation) {
  DdeClient client;
  EXPECT_EQ(client.Connect("PROGMAN", "PROGMAN"), nullptr);
  EXPECT_EQ(DdeGetLastError(client.instance()), static_cast<UINT>(DMLERR_NO_CONV_ESTABLISHED));
}

TEST_F(DdeTransport, AServerThatNeverAnswersFailsTheTransactionAtItsTimeOut) {
  ForkedServer server("VornTest", [](const std::string&) -> DWORD {
    for (;;) pause();
  });
  DdeClient client;
  HCONV conversation = client.Connect("VornTest", "Topic");
  ASSERT_NE(conversation, nullptr);
  EXPECT_EQ(client.Execute(conversation, "[x()]", 100), nullptr);
  EXPECT_EQ(DdeGetLastError(client.instance()), static_cast<UINT>(DMLERR_EXECACKTIMEOUT));
}

TEST_F(DdeTransport, ALateAnswerIsNotTakenForTheNextTransaction) {
  // The first answer, a refusal, comes long after its transaction has given up.
  int calls = 0;
  ForkedServer server("VornTest", [&](const std::string&) -> DWORD {
    if (++calls > 1) return DDE_FACK;
    usleep(300 * 1000);
    return DDE_FNOTPROCESSED;
  });
  DdeClient client;
  HCONV conversation = client.Connect("VornTest", "Topic");
  ASSERT_NE(conversation, nullptr);
  EXPECT_EQ(client.Execute(conversation, "[first()]", 20), nullptr);
  EXPECT_NE(client.Execute(conversation, "[second()]", 10000), nullptr);
}

TEST_F(DdeTransport, AServerOfAnotherUserIsNotTalkedTo) {
  ForkedServer server("VornTest", Accept);
  DdeClient client;
  dde::testing::SetPeerUid(geteuid() + 1);
  EXPECT_EQ(client.Connect("VornTest", "Topic"), nullptr);
  dde::testing::ClearPeerUid();
  EXPECT_NE(client.Connect("VornTest", "Topic"), nullptr);
}

TEST_F(DdeTransport, AClientOfAnotherUserIsTurnedAway) {
  ForkedServer server("VornTest", Accept, [] { dde::testing::SetPeerUid(geteuid() + 1); });
  DdeClient client;
  EXPECT_EQ(client.Connect("VornTest", "Topic"), nullptr);
  EXPECT_TRUE(server.Received().empty());
}

TEST_F(DdeTransport, ARuntimeDirectoryOthersCouldReachIsRefused) {
  const std::string dir = RuntimeDir() + "/vorn-dde";
  const std::string elsewhere = root() + "/elsewhere";
  fs::create_directory(elsewhere);
  fs::permissions(elsewhere, fs::perms::owner_all);
  const struct {
    const char* what;
    std::function<void()> make;
  } cases[] = {
      {"open to the group and others", [&] { mkdir(dir.c_str(), 0700), chmod(dir.c_str(), 0755); }},
      {"writable by the group", [&] { mkdir(dir.c_str(), 0700), chmod(dir.c_str(), 0730); }},
      {"a link to a private directory", [&] { fs::create_directory_symlink(elsewhere, dir); }},
  };
  for (const auto& c : cases) {
    c.make();
    DWORD instance = 0;
    ASSERT_EQ(DdeInitializeA(&instance, [](UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) -> HDDEDATA {
                return nullptr;
              }, 0, 0),
              static_cast<UINT>(DMLERR_NO_ERROR));
    const HSZ name = DdeCreateStringHandleA(instance, "VornTest", CP_WINANSI);
    EXPECT_EQ(DdeNameService(instance, name, nullptr, DNS_REGISTER), nullptr) << c.what;
    EXPECT_EQ(DdeConnect(instance, name, name, nullptr), nullptr) << c.what;
    DdeUninitialize(instance);
    std::error_code ec;
    fs::remove(dir, ec);
  }
}

TEST_F(DdeTransport, ARuntimeDirectoryOfAnotherOwnerIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give the directory away";
  const std::string dir = RuntimeDir() + "/vorn-dde";
  mkdir(dir.c_str(), 0700);
  ASSERT_EQ(chown(dir.c_str(), 65534, 65534), 0);
  std::string found;
  EXPECT_EQ(dde::RuntimeDirectory(&found), Error::AccessDenied);
}

// A raw client: connects, sends the bytes, and tells whether the server then hangs up.
bool ServerHangsUpAfter(const dde::Bytes& bytes) {
  int fd = -1;
  if (dde::ConnectTo("VornTest", 5000, &fd) != Error::None) return false;
  const long long deadline = dde::NowMs() + 10000;
  bool hungUp = false;
  if (dde::SendAll(fd, bytes, deadline)) {
    // Whatever the server answers first is read and dropped; only its hang-up counts.
    for (;;) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(deadline - dde::NowMs())) <= 0) break;
      char buffer[256];
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) {
        hungUp = true;
        break;
      }
    }
  }
  close(fd);
  return hungUp;
}

TEST_F(DdeTransport, MalformedFramesDropThatClientAndHarmNoOne) {
  ForkedServer server("VornTest", Accept);
  using dde::Bytes;
  const Bytes connect = dde::ConnectFrame({"VornTest", "Topic", false, {}});
  auto after = [&](Bytes first, const Bytes& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
  };
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"garbage", Bytes(64, 0xAB)},
      {"an oversized frame", {'V', 'D', 1, 3, 0xFF, 0xFF, 0xFF, 0x7F}},
      {"an execute before the connect", dde::ExecuteFrame({1, 1, {'[', ']', 0}})},
      {"a connect for another service", dde::ConnectFrame({"Other", "Topic", false, {}})},
      {"a second connect", after(connect, connect)},
      {"an execute without its format", after(connect, {'V', 'D', 1, 3, 4, 0, 0, 0, 1, 0, 0, 0})},
      {"a reply sent to the server", after(connect, dde::ExecuteReplyFrame({1, 0x8000}))},
  };
  for (const auto& c : cases) EXPECT_TRUE(ServerHangsUpAfter(c.bytes)) << c.what;

  DdeClient client;
  HCONV conversation = client.Connect("VornTest", "Topic");
  ASSERT_NE(conversation, nullptr);
  EXPECT_NE(client.Execute(conversation, "[still(here)]", 5000), nullptr);
  EXPECT_EQ(server.Received(), std::vector<std::string>{std::string("[still(here)]", 14)});
}

TEST_F(DdeTransport, TransactionsOutsideTheSubsetAreRefused) {
  ForkedServer server("VornTest", Accept);
  DdeClient client;
  HCONV conversation = client.Connect("VornTest", "Topic");
  ASSERT_NE(conversation, nullptr);
  char data[] = "[x()]";
  EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, nullptr, CF_TEXT, XTYP_REQUEST, 1000, nullptr), nullptr);
  EXPECT_EQ(DdeGetLastError(client.instance()), static_cast<UINT>(DMLERR_INVALIDPARAMETER));
  EXPECT_EQ(DdeClientTransaction(reinterpret_cast<LPBYTE>(data), sizeof data, conversation, nullptr, CF_TEXT,
                                 XTYP_EXECUTE, TIMEOUT_ASYNC, nullptr),
            nullptr);
  EXPECT_EQ(DdeGetLastError(client.instance()), static_cast<UINT>(DMLERR_INVALIDPARAMETER));
  EXPECT_TRUE(server.Received().empty());
}

TEST(DdeStrings, NamesThatDifferInCaseShareOneHandle) {
  DWORD instance = 0;
  ASSERT_EQ(DdeInitializeA(&instance, [](UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) -> HDDEDATA {
              return nullptr;
            }, APPCMD_CLIENTONLY, 0),
            static_cast<UINT>(DMLERR_NO_ERROR));
  const HSZ upper = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
  const HSZ mixed = DdeCreateStringHandleA(instance, "Progman", CP_WINANSI);
  EXPECT_EQ(DdeCmpStringHandles(upper, mixed), 0);
  char text[16];
  EXPECT_EQ(DdeQueryStringA(instance, mixed, text, sizeof text, CP_WINANSI), 7u);
  EXPECT_STREQ(text, "PROGMAN");
  EXPECT_TRUE(DdeFreeStringHandle(instance, upper));
  EXPECT_TRUE(DdeFreeStringHandle(instance, mixed));
  EXPECT_FALSE(DdeFreeStringHandle(instance, mixed));
  // A client-only instance serves nothing.
  const HSZ name = DdeCreateStringHandleA(instance, "VornTest", CP_WINANSI);
  EXPECT_EQ(DdeNameService(instance, name, nullptr, DNS_REGISTER), nullptr);
  EXPECT_EQ(DdeGetLastError(instance), static_cast<UINT>(DMLERR_DLL_USAGE));
  EXPECT_TRUE(DdeUninitialize(instance));
  EXPECT_FALSE(DdeUninitialize(instance));
}

}  // namespace
}  // namespace vorn::testing
