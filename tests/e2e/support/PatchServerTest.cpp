#include "PatchServerTest.h"

#include <filesystem>
#include <random>

#include "TestPaths.h"

namespace fs = std::filesystem;

std::string SampleBytes(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  std::string bytes;
  bytes.reserve(size);
  // Runs of repeated letters among random bytes: neither empty nor incompressible work.
  while (bytes.size() < size) {
    if (random() % 2)
      bytes.append(std::min<std::size_t>(size - bytes.size(), random() % 64),
                   static_cast<char>('a' + random() % 26));
    else
      bytes.push_back(static_cast<char>(random()));
  }
  return bytes;
}

std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string text = ReadFileBytes(path);
  std::string::size_type start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));  // a line cut by a kill
  return lines;
}

int CountLines(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

void PatchServerTest::SetUp() {
  for (const char* tool : {"patchrun", "vka", "mkpatch", "mkconfig", "libvka.so"})
    if (!fs::exists(BinPath(tool))) GTEST_SKIP() << tool << " is not built";
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  work_ = FreshWorkDir(std::string(test->test_suite_name()) + "." + test->name());
  server_ = work_ + "/server";
  game_ = work_ + "/game";
  scratch_ = work_ + "/scratch";
  fs::create_directories(server_ + "/patches");
  fs::create_directories(scratch_);
  fs::copy_file(DemoPath("news.html"), server_ + "/news.html");
  nginx_ = std::make_unique<NginxServer>(server_, work_ + "/nginx", ServerBytesPerSecond());
  ASSERT_TRUE(nginx_->Running()) << "nginx did not start; see " << work_ << "/nginx";
}

void PatchServerTest::AddFilesPatch(const std::string& container, const FileMap& files) {
  const std::string root = scratch_ + "/" + container + ".files";
  WriteFiles(root, files);
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& entry : files) entries.emplace_back(root + "/" + entry.first, entry.first);
  AddPatch(container, entries);
}

void PatchServerTest::AddArchivePatch(const std::string& container, const std::string& archiveName,
                                      const FileMap& files) {
  const std::string folder = scratch_ + "/" + container + ".archive";
  fs::create_directories(folder);
  ASSERT_TRUE(MakeArchive(folder + "/" + archiveName, files, folder));
  AddPatch(container, {{folder + "/" + archiveName, archiveName}});
}

void PatchServerTest::AddPatch(const std::string& container,
                               const std::vector<std::pair<std::string, std::string>>& entries) {
  ASSERT_TRUE(MakePatch(ServerPath("patches/" + container), entries));
}

void PatchServerTest::PublishList(const std::string& listName,
                                  const std::vector<std::string>& containers) {
  std::vector<std::string> paths;
  for (const std::string& container : containers)
    paths.push_back(ServerPath("patches/" + container));
  ASSERT_TRUE(MakePatchList(ServerPath(listName), nginx_->Url("/patches/"), paths));
}

void PatchServerTest::MakeGame(const std::map<std::string, FileMap>& archives,
                               const std::map<std::string, std::string>& overrides,
                               const std::string& listName) {
  std::map<std::string, std::string> fields = overrides;
  fields.emplace("PatchListUrl", nginx_->Url("/" + listName));
  ASSERT_TRUE(
      MakeGameFolder(game_, nginx_->Url(), archives, scratch_ + "/game-art", fields, Programs()));
}

FolderContent PatchServerTest::GameContent(const std::string& gameDir) const {
  return ReadFolderContent(gameDir.empty() ? game_ : gameDir, {"MorvoPatcherLog.txt"},
                           scratch_ + "/content");
}

std::string PatchServerTest::ArchiveContentOf(const FileMap& files) const {
  const std::string folder = scratch_ + "/expected";
  fs::remove_all(folder);
  fs::create_directories(folder);
  EXPECT_TRUE(MakeArchive(folder + "/expected.vka", files, scratch_ + "/expected-files"));
  return ReadFolderContent(folder, {}, scratch_ + "/content").files["expected.vka"];
}

RunResult PatchServerTest::RunPatchrun(const std::string& gameDir, std::chrono::seconds timeout) {
  return RunProgram({BinPath("patchrun"), gameDir.empty() ? game_ : gameDir},
                    OutputTo(work_ + "/patchrun.out", timeout));
}
