#include "RunTestSupport.h"

#include "SettingsBuilder.h"
#include "install/PatchContainer.h"

namespace morvo {

PatcherSettings RunSettings(const std::string& newsUrl, const std::string& listUrl) {
  return SettingsBuilder()
      .NumberedMessages("M")
      .Logging()
      .Show({.start = true})
      .Addresses(newsUrl, listUrl)
      .Game("game.sh")
      .Skin({'B', 'M'}, {})
      .Build();
}

std::string Container(const std::vector<ContainerFile>& files) {
  std::string bytes = EncodeContainerHeader(static_cast<std::int32_t>(files.size()));
  for (const ContainerFile& file : files) {
    bytes += EncodeEntryHeader(file.source, file.dest, static_cast<std::int32_t>(file.data.size()));
    bytes += file.data;
  }
  return bytes;
}

std::string PatchList(const std::vector<std::string>& options,
                      const std::vector<std::string>& urls) {
  std::string text = "[options]\r\n";
  for (const std::string& line : options) text += line + "\r\n";
  text += "[patchs]\r\n";
  for (const std::string& url : urls) text += url + "=1\r\n";
  return text;
}

std::vector<std::string> FileLines(const std::string& path) {
  const std::string text = ReadFileBytes(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace morvo
