#include "engine/DownloadOutcomes.h"

#include <gtest/gtest.h>

using namespace morvo;

namespace {

using Lines = std::vector<std::string>;

TEST(DownloadOutcomes, OnlyArrivedPatchesStayToBeRegistered) {
  PatchRunState state("/game/");
  state.DownloadUrls = {"http://s/a/p1.pak", "http://s/a/p2.pak", "http://s/b/p3.pak"};
  // p2 was registered with another value, which is why it was offered again; p9 is unrelated.
  state.InstalledEntries = {"p9.pak=1", " p2.pak =0", "P2.pak=1"};
  DownloadOutcomes outcomes;
  outcomes.Record("http://s/a/p1.pak", true);
  outcomes.Record("http://s/a/p2.pak", false);
  outcomes.Record("http://s/b/p3.pak", true);

  outcomes.KeepArrivedOnly(state);

  EXPECT_EQ(state.DownloadUrls, (Lines{"http://s/a/p1.pak", "http://s/b/p3.pak"}));
  EXPECT_EQ(state.InstalledEntries, (Lines{"p9.pak=1", "P2.pak=1"}));
}

// Two URLs with one file name share one container: the later download replaced the earlier
// one's file, so its outcome decides for both.
TEST(DownloadOutcomes, LaterDownloadOfTheSameNameDecides) {
  PatchRunState state("/game/");
  state.DownloadUrls = {"http://s/a/p.pak", "http://s/b/p.pak", "http://s/c/q.pak",
                        "http://s/d/q.pak"};
  DownloadOutcomes outcomes;
  outcomes.Record("http://s/a/p.pak", true);
  outcomes.Record("http://s/b/p.pak", false);
  outcomes.Record("http://s/c/q.pak", false);
  outcomes.Record("http://s/d/q.pak", true);

  outcomes.KeepArrivedOnly(state);

  EXPECT_EQ(state.DownloadUrls, (Lines{"http://s/c/q.pak", "http://s/d/q.pak"}));
}

}  // namespace
