// What the run tests share: a game folder, settings that point at the test server, containers
// and the log read back as lines.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "TempDir.h"
#include "TestHttpServer.h"
#include "config/PatcherSettings.h"

namespace morvo {

// Settings whose status texts are "M0" .. "M11", with the log and Start on, the news page and
// the patch list at the given addresses.
PatcherSettings RunSettings(const std::string& newsUrl, const std::string& listUrl);

// The same with the news page at /news.html and the list at /list.ini of server.
inline PatcherSettings RunSettings(const TestHttpServer& server) {
  return RunSettings(server.Url("/news.html"), server.Url("/list.ini"));
}

struct ContainerFile {
  std::string source;
  std::string dest;
  std::string data;
};
// The bytes of a patch container holding files, in order.
std::string Container(const std::vector<ContainerFile>& files);

// A server patch list: [options] with the given lines, [patchs] with one "url=1" per url.
std::string PatchList(const std::vector<std::string>& options,
                      const std::vector<std::string>& urls);

// The lines of a CR LF file, without their CR LF; a missing file has none.
std::vector<std::string> FileLines(const std::string& path);

}  // namespace morvo
