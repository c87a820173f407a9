// The private nginx of the demo, the end-to-end tests and the benchmarks serves a folder that
// only its owner may enter, whoever started it: root (whose requests nginx would otherwise hand
// to an unprivileged worker) and an ordinary user.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "LocalServers.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
constexpr char kPage[] = "[patchs]\r\nhttp://127.0.0.1/p0001.pak=1\r\n";

// home (mode 0700) holding www/patchlist.ini and an empty state folder, all owned by owner.
void MakePrivateServerFolder(const std::string& home, uid_t owner) {
  fs::create_directories(home + "/www");
  fs::create_directories(home + "/state");
  std::ofstream(home + "/www/patchlist.ini", std::ios::binary) << kPage;
  for (const auto& entry : fs::recursive_directory_iterator(home))
    ASSERT_EQ(lchown(entry.path().c_str(), owner, owner), 0) << entry.path();
  ASSERT_EQ(chown(home.c_str(), owner, owner), 0);
  ASSERT_EQ(chmod(home.c_str(), 0700), 0);
}

std::string Fetch(const NginxServer& server, const std::string& path, const std::string& to) {
  RunResult fetch =
      RunProgram({"/usr/bin/curl", "-sS", "-f", "-o", to, server.Url(path)}, OutputTo(to + ".out"));
  EXPECT_EQ(fetch.exitCode, 0) << fetch.output;
  return ReadFileBytes(to);
}

TEST(DemoServer, ServesAFolderOnlyItsOwnerMayEnter) {
  const std::string work = FreshWorkDir("DemoServer.OwnFolder");
  const std::string home = work + "/home";
  ASSERT_NO_FATAL_FAILURE(MakePrivateServerFolder(home, getuid()));

  NginxServer server(home + "/www", home + "/state");
  ASSERT_TRUE(server.Running()) << ReadFileBytes(home + "/state/error.log");
  EXPECT_EQ(Fetch(server, "/patchlist.ini", work + "/fetched.ini"), kPage);
  EXPECT_EQ(server.RequestCount("/patchlist.ini"), 1);
}

TEST(DemoServer, ServesAnOrdinaryUsersPrivateFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to another user needs root";
  // The clone itself may lie where the other user cannot go: everything it needs is copied to
  // a folder of its own under /tmp.
  char pattern[] = "/tmp/morvo-demo-server-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string base = pattern;
  ASSERT_EQ(chmod(base.c_str(), 0755), 0);
  const std::string script = base + "/nginx-serve.sh";
  fs::copy_file(DemoPath("nginx-serve.sh"), script);
  const std::string home = base + "/home";
  ASSERT_NO_FATAL_FAILURE(MakePrivateServerFolder(home, kNobody));

  {
    NginxServer server(home + "/www", home + "/state", 0,
                       {"/usr/bin/setpriv", "--reuid=" + std::to_string(kNobody),
                        "--regid=" + std::to_string(kNobody), "--clear-groups", script});
    ASSERT_TRUE(server.Running()) << ReadFileBytes(home + "/state/nginx.out");
    const std::string fetched = FreshWorkDir("DemoServer.OtherUser") + "/fetched.ini";
    EXPECT_EQ(Fetch(server, "/patchlist.ini", fetched), kPage);
  }
  fs::remove_all(base);
}

}  // namespace
