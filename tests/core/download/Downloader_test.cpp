#include "download/Downloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

#include "LoopbackSockets.h"
#include "TempDir.h"
#include "TestHttpServer.h"
#include "download/RetriedDownload.h"
#include "platform/Sha256.h"

using namespace morvo;

namespace {

// Every notification in order, with the invariants a download must keep checked on the way.
class RecordingCallback : public BindStatusCallback {
 public:
  void OnStartBinding() override {
    EXPECT_EQ(starts, 0);
    ++starts;
  }
  void OnProgress(std::uint64_t received, std::uint64_t expected) override {
    EXPECT_EQ(starts, 1) << "progress outside a download";
    EXPECT_EQ(stops, 0) << "progress after the end";
    if (received < last) ++restarts;
    last = received;
    lastExpected = expected;
    ++progresses;
    if (onProgress) onProgress();
  }
  bool HasRoomFor(std::uint64_t bytes) override {
    roomAskedFor = bytes;
    return bytes <= room;
  }
  DownloadStatus OnStopBinding(const DownloadStatus& status) override {
    EXPECT_EQ(starts, 1);
    ++stops;
    if (onStop) onStop();
    return status;
  }

  int starts = 0;
  int stops = 0;
  int progresses = 0;
  int restarts = 0;
  std::uint64_t last = 0;
  std::uint64_t lastExpected = 0;
  std::uint64_t room = UINT64_MAX;
  std::uint64_t roomAskedFor = 0;
  std::function<void()> onStop;
  std::function<void()> onProgress;
};

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

DownloadOptions QuickOptions() {
  DownloadOptions options;
  options.FirstRetryWait = std::chrono::milliseconds(10);
  options.LowSpeedSeconds = 1;
  return options;
}

// The address of a local file: "file:///tmp/x", or "file:///" and the path from its drive.
std::string FileUrl(const std::string& path) {
  return "file://" + std::string(path.starts_with("/") ? "" : "/") + path;
}

class DownloaderTest : public ::testing::Test {
 protected:
  DownloadStatus Fetch(const std::string& url, DownloadOptions options = QuickOptions()) {
    return MakeSystemDownloader(options)->Download(url, target, callback);
  }
  bool NothingLeft() const {
    return !std::filesystem::exists(target) && !std::filesystem::exists(target + ".part");
  }

  TestHttpServer server;
  TempDir folder;
  std::string target = folder / "MorvoTMPp0001.pak";
  RecordingCallback callback;
};

TEST_F(DownloaderTest, BodyArrivesWholeWithProgressBetweenStartAndStop) {
  const std::string body = Pattern(3 * 1024 * 1024 + 17);
  server.Serve("/p.pak", body);
  // What the next step of the run finds once the download reports its end.
  bool inPlaceAtStop = false;
  callback.onStop = [&] { inPlaceAtStop = ReadFileBytes(target) == body; };

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  EXPECT_TRUE(status.Succeeded) << status.Error;
  EXPECT_TRUE(inPlaceAtStop);
  EXPECT_EQ(callback.stops, 1);
  EXPECT_GT(callback.progresses, 0);
  EXPECT_EQ(callback.restarts, 0);
  EXPECT_EQ(callback.last, body.size());
  EXPECT_EQ(callback.lastExpected, body.size());
  EXPECT_FALSE(std::filesystem::exists(target + ".part"));
}

TEST_F(DownloaderTest, EmptyBodyAndRedirectAndFileAddress) {
  server.Serve("/empty", "");
  EXPECT_TRUE(Fetch(server.Url("/empty")).Succeeded);
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(ReadFileBytes(target), "");

  const std::string body = Pattern(5000);
  server.Serve("/real.pak", body);
  server.Redirect("/moved.pak", server.Url("/real.pak"));
  RecordingCallback second;
  ASSERT_TRUE(MakeSystemDownloader(QuickOptions())
                  ->Download(server.Url("/moved.pak"), target, second)
                  .Succeeded);
  EXPECT_EQ(ReadFileBytes(target), body);

  const std::string source = folder / "source.bin";
  WriteFileBytes(source, body.substr(0, 1234));
  RecordingCallback third;
  ASSERT_TRUE(
      MakeSystemDownloader(QuickOptions())->Download(FileUrl(source), target, third).Succeeded);
  EXPECT_EQ(ReadFileBytes(target), body.substr(0, 1234));
}

// Every failure ends with the finished notification and nothing at the target, not even the
// file an earlier run left there; permanent failures are not asked again.
struct FailureCase {
  const char* name;
  std::function<std::string(TestHttpServer&, const std::string&)> setUp;  // returns the URL
  int requests;                                                           // -1: not counted
  const char* error;
};

class DownloadFailures : public DownloaderTest,
                         public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailures, LeaveNothingAtTheTarget) {
  const FailureCase& failure = GetParam();
  WriteFileBytes(target, "left by an earlier run");
  const std::string url = failure.setUp(server, folder.path());

  const DownloadStatus status = Fetch(url);

  EXPECT_FALSE(status.Succeeded);
  EXPECT_NE(status.Error.find(failure.error), std::string::npos) << status.Error;
  EXPECT_EQ(callback.stops, 1);
  EXPECT_TRUE(NothingLeft());
  if (failure.requests >= 0) {
    EXPECT_EQ(server.Requests("/p.pak"), failure.requests);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Run, DownloadFailures,
    ::testing::Values(FailureCase{"NotFound",
                                  [](TestHttpServer& s, const std::string&) {
                                    s.Fail("/p.pak", 404);
                                    return s.Url("/p.pak");
                                  },
                                  1, "HTTP 404"},
                      FailureCase{"ServerErrorTriedFourTimes",
                                  [](TestHttpServer& s, const std::string&) {
                                    s.Fail("/p.pak", 500);
                                    return s.Url("/p.pak");
                                  },
                                  4, "HTTP 500"},
                      FailureCase{"BodyShorterThanAnnounced",
                                  [](TestHttpServer& s, const std::string&) {
                                    s.ShortBody("/p.pak", Pattern(100000), 30000);
                                    return s.Url("/p.pak");
                                  },
                                  4, ""},
                      FailureCase{"ConnectionRefused",
                                  [](TestHttpServer&, const std::string&) {
                                    return "http://127.0.0.1:" + std::to_string(ClosedPort()) +
                                           "/p.pak";
                                  },
                                  -1, ""},
                      FailureCase{"RedirectToALocalFileRefused",
                                  [](TestHttpServer& s, const std::string& dir) {
                                    WriteFileBytes(dir + "secret", "local bytes");
                                    s.Redirect("/p.pak", FileUrl(dir + "secret"));
                                    return s.Url("/p.pak");
                                  },
                                  1, ""},
                      FailureCase{"UnknownScheme",
                                  [](TestHttpServer&, const std::string&) {
                                    return std::string("ftp://127.0.0.1/p.pak");
                                  },
                                  -1, ""},
                      FailureCase{"EmptyAddress",
                                  [](TestHttpServer&, const std::string&) { return std::string(); },
                                  -1, ""}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(DownloaderTest, StalledTransferFailsAfterTheLowSpeedTime) {
  // Headers, then not one byte of the body: curl measures its speed over the last seconds,
  // so bytes sent before the stall would only delay the verdict.
  server.Stall("/p.pak", Pattern(100000), 0);
  DownloadOptions options = QuickOptions();
  options.Retries = 0;
  const auto start = std::chrono::steady_clock::now();

  const DownloadStatus status = Fetch(server.Url("/p.pak"), options);

  EXPECT_FALSE(status.Succeeded);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(NothingLeft());
  // The wait still reached the window: curl reports even while no byte comes.
  EXPECT_GT(callback.progresses, 1);
}

// A modal window opened from the progress handler (the player's About box) holds the transfer
// longer than the stall limit; that time is the player's, not the network's.
TEST_F(DownloaderTest, TimeSpentInTheProgressHandlerIsNoStall) {
  // The About box opens while the body has not begun: no byte has come for a while.
  const std::string body = Pattern(300000);
  server.PauseBeforeBody("/p.pak", body, 400);
  DownloadOptions options = QuickOptions();
  options.Retries = 0;
  bool aboutShown = false;
  const auto start = std::chrono::steady_clock::now();
  callback.onProgress = [&] {
    if (aboutShown || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(200)) {
      return;
    }
    aboutShown = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  };

  const DownloadStatus status = Fetch(server.Url("/p.pak"), options);

  ASSERT_TRUE(status.Succeeded) << status.Error;
  EXPECT_EQ(ReadFileBytes(target), body);
  EXPECT_EQ(server.Requests("/p.pak"), 1);
}

TEST_F(DownloaderTest, ConnectionThatCannotBeMadeFailsAfterTheConnectTimeout) {
  FullListener listener;
  DownloadOptions options = QuickOptions();
  options.ConnectTimeoutSeconds = 1;
  options.Retries = 1;
  const auto start = std::chrono::steady_clock::now();

  const DownloadStatus status =
      Fetch("http://127.0.0.1:" + std::to_string(listener.port()) + "/p.pak", options);

  EXPECT_FALSE(status.Succeeded);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(callback.stops, 1);
  EXPECT_TRUE(NothingLeft());
}

TEST_F(DownloaderTest, DroppedTransferResumesFromTheBytesReceived) {
  const std::string body = Pattern(200000);
  server.DropAfter("/p.pak", body, 60000, 2);

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  ASSERT_TRUE(status.Succeeded) << status.Error;
  EXPECT_EQ(ReadFileBytes(target), body);
  EXPECT_EQ(server.RangeHeaders("/p.pak"),
            (std::vector<std::string>{"", "bytes=60000-", "bytes=120000-"}));
  EXPECT_EQ(callback.restarts, 0);
}

TEST_F(DownloaderTest, ServerIgnoringRangesMakesTheBodyStartOver) {
  const std::string body = Pattern(200000);
  server.DropAfter("/p.pak", body, 60000, 1, /*honourRanges=*/false);

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  ASSERT_TRUE(status.Succeeded) << status.Error;
  EXPECT_EQ(ReadFileBytes(target), body);
  EXPECT_EQ(server.RangeHeaders("/p.pak"), (std::vector<std::string>{"", "bytes=60000-"}));
}

TEST_F(DownloaderTest, FileChangedOnTheServerIsFetchedWhole) {
  const std::string before = Pattern(100000);
  const std::string after = std::string(90000, 'n');
  server.ChangeAfterDrop("/p.pak", before, after, 40000);

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  ASSERT_TRUE(status.Succeeded) << status.Error;
  EXPECT_EQ(ReadFileBytes(target), after);
  EXPECT_EQ(server.RangeHeaders("/p.pak"), (std::vector<std::string>{"", "bytes=40000-"}));
}

// The room is asked for once the length is known, for what is still to come, and no byte of a
// body without room is written; a file address is measured the same way.
TEST_F(DownloaderTest, BodyWithoutRoomOnTheDiskIsNotWritten) {
  server.Serve("/p.pak", Pattern(50000));
  callback.room = 49999;

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  EXPECT_FALSE(status.Succeeded);
  EXPECT_EQ(status.Error, "not enough disk space");
  EXPECT_EQ(callback.roomAskedFor, 50000u);
  EXPECT_EQ(server.Requests("/p.pak"), 1);
  EXPECT_TRUE(NothingLeft());

  const std::string source = folder / "source.bin";
  WriteFileBytes(source, Pattern(3000));
  RecordingCallback local;
  local.room = 2999;
  EXPECT_FALSE(
      MakeSystemDownloader(QuickOptions())->Download(FileUrl(source), target, local).Succeeded);
  EXPECT_EQ(local.roomAskedFor, 3000u);
  EXPECT_TRUE(NothingLeft());
}

TEST_F(DownloaderTest, TargetThatCannotBeWrittenStillEndsTheDownload) {
  server.Serve("/p.pak", "data");
  target = folder / "no-such-folder/p.pak";

  const DownloadStatus status = Fetch(server.Url("/p.pak"));

  EXPECT_FALSE(status.Succeeded);
  EXPECT_EQ(callback.starts, 1);
  EXPECT_EQ(callback.stops, 1);
  EXPECT_EQ(server.Requests("/p.pak"), 0);
}

// Players' folders are often named in their own script: the UTF-8 path must reach the file
// system as the same name, for the part file, the target and a local source alike.
TEST_F(DownloaderTest, PathsOutsideAsciiNameTheSameFiles) {
  const std::string folderName =
      "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE6\xB8\xB8\xE6\x88\x8F";  // "Игры 游戏"
  const auto onDisk = [](const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  };
  const auto readBack = [&](const std::string& utf8) {
    std::ifstream in(onDisk(utf8), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string game = folder / folderName + "/";
  ASSERT_TRUE(std::filesystem::create_directory(onDisk(game)));
  const std::string body = Pattern(70000);
  server.Serve("/p.pak", body);
  target = game + "MorvoTMPp0001.pak";

  ASSERT_TRUE(Fetch(server.Url("/p.pak")).Succeeded);
  EXPECT_EQ(readBack(target), body);
  EXPECT_FALSE(std::filesystem::exists(onDisk(target + ".part")));

  // The same folder as a local address, percent-escaped as a browser writes it.
  std::ofstream(onDisk(game + "source.bin"), std::ios::binary) << body.substr(0, 999);
  std::string escaped;
  for (const char c : game + "source.bin") {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    escaped += byte < 0x80 && c != ' ' ? std::string(1, c)
                                       : std::string{'%', kHex[byte >> 4], kHex[byte & 15]};
  }
  RecordingCallback second;
  const std::string copy = game + "copy.bin";
  ASSERT_TRUE(
      MakeSystemDownloader(QuickOptions())->Download(FileUrl(escaped), copy, second).Succeeded);
  EXPECT_EQ(readBack(copy), body.substr(0, 999));
}

}  // namespace

// A body checked against its expected SHA-256 arrives only when every byte matches, whichever
// way it came: whole, resumed by ranges (the hash continues over the bytes before), or started
// over (the hash starts over with it).
TEST_F(DownloaderTest, BodyWithItsDigestArrivesResumedOrStartedOver) {
  const std::string body = Pattern(200000);
  const auto digest = Sha256Of(body.data(), body.size());
  ASSERT_TRUE(digest);
  server.DropAfter("/resumed.pak", body, 60000, 2);
  server.DropAfter("/restarted.pak", body, 60000, 1, /*honourRanges=*/false);
  const std::string source = folder / "source.bin";
  WriteFileBytes(source, body);

  for (const std::string& url :
       {server.Url("/resumed.pak"), server.Url("/restarted.pak"), FileUrl(source)}) {
    RecordingCallback each;
    const DownloadStatus status =
        MakeSystemDownloader(QuickOptions())->Download(url, target, each, digest);
    ASSERT_TRUE(status.Succeeded) << url << ": " << status.Error;
    EXPECT_EQ(ReadFileBytes(target), body) << url;
  }
  EXPECT_EQ(server.Requests("/resumed.pak"), 3);
  EXPECT_EQ(server.Requests("/restarted.pak"), 2);
}

// One byte changed anywhere, in a body that came whole, resumed or from a file, fails the
// download once and for all: nothing at the target, not even an earlier run's file.
TEST_F(DownloaderTest, BodyWhoseDigestDiffersLeavesNothing) {
  const std::string body = Pattern(200000);
  const auto digest = Sha256Of(body.data(), body.size());
  ASSERT_TRUE(digest);
  std::string tampered = body;
  tampered[150000] = static_cast<char>(tampered[150000] ^ 0x01);
  server.Serve("/whole.pak", tampered);
  server.DropAfter("/resumed.pak", tampered, 60000, 2);
  const std::string source = folder / "source.bin";
  WriteFileBytes(source, tampered);

  for (const std::string& url :
       {server.Url("/whole.pak"), server.Url("/resumed.pak"), FileUrl(source)}) {
    WriteFileBytes(target, "left by an earlier run");
    RecordingCallback each;
    const DownloadStatus status =
        MakeSystemDownloader(QuickOptions())->Download(url, target, each, digest);
    EXPECT_FALSE(status.Succeeded) << url;
    EXPECT_EQ(status.Error, kDigestMismatchError) << url;
    EXPECT_EQ(each.stops, 1);
    EXPECT_TRUE(NothingLeft()) << url;
  }
  EXPECT_EQ(server.Requests("/whole.pak"), 1) << "a differing body is not asked again";
}

// The part already on the disk counts: a first attempt that wrote tampered bytes and a resumed
// one that brings the true rest still make a body that differs.
TEST(DigestCheckedRun, TamperedFirstPartOfAResumedBodyFails) {
  const std::string body = Pattern(5000);
  const auto digest = Sha256Of(body.data(), body.size());
  ASSERT_TRUE(digest);
  std::string firstPart = body.substr(0, 2000);
  firstPart[10] = 'X';
  for (const bool tamper : {false, true}) {
    TempDir folder;
    const std::string target = folder / "MorvoTMPp.pak";
    RecordingCallback callback;
    std::vector<std::uint64_t> rangeStarts;
    const DownloadStatus status =
        RunDownload(target, callback, QuickOptions(), /*rangesUsable=*/true, digest,
                    [&](AttemptTarget& attempt) {
                      rangeStarts.push_back(attempt.RangeStart);
                      if (attempt.RangeStart == 0) {
                        const std::string first = tamper ? firstPart : body.substr(0, 2000);
                        attempt.File.Append(first.data(), first.size());
                        return AttemptResult{{false, "cut"}, /*Transient=*/true};
                      }
                      const std::string rest = body.substr(attempt.RangeStart);
                      attempt.File.Append(rest.data(), rest.size());
                      return AttemptResult{{true, {}}};
                    });
    EXPECT_EQ(rangeStarts, (std::vector<std::uint64_t>{0, 2000}));
    EXPECT_EQ(status.Succeeded, !tamper) << status.Error;
    EXPECT_EQ(std::filesystem::exists(target), !tamper);
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
  }
}
