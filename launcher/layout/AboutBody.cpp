#include "AboutBody.h"

namespace morvo {

namespace {

constexpr char kCrLf[] = "\r\n";

struct ProductLines {
  const char* developer;
  const char* rights;
  const char* libraryCredit;
  const char* libraryUse;
  const char* programPage;
  const char* makerSite;
};

// Windows-1252 bytes: 0xE9 is "é", 0xE0 "à".
constexpr ProductLines kFrench = {
    "Programme d\xE9velopp\xE9 par l'\xE9quipe Morvo Patcher.",
    "(c) Les auteurs de Morvo Patcher. Tous droits r\xE9serv\xE9s.",
    "Biblioth\xE8que d'archives VKA \xE9"
    "crite par l'\xE9quipe Morvo Patcher,",
    "\xE0 l'usage exclusif de ce programme.",
    "Page du programme > https://morvo-patcher.example.org/",
    "Site de l'\xE9"
    "diteur > https://www.example.org/",
};

constexpr ProductLines kEnglish = {
    "Program developed by the Morvo Patcher team.",
    "(c) The Morvo Patcher authors. All rights reserved.",
    "VKA archive library written by the Morvo Patcher team,",
    "for the exclusive use of this program.",
    "Program page > https://morvo-patcher.example.org/",
    "Publisher's web site > https://www.example.org/",
};

}  // namespace

std::string AboutBody(const std::string& aboutText, bool english) {
  const ProductLines& lines = english ? kEnglish : kFrench;
  std::string body = aboutText;
  body += kCrLf;
  body += kCrLf;
  body += std::string(50, '-');
  body += kCrLf;
  body += kCrLf;
  body += kProductVersionLine;
  body += kCrLf;
  body += kCrLf;
  body += lines.developer;
  body += kCrLf;
  body += lines.rights;
  body += kCrLf;
  body += kCrLf;
  body += lines.libraryCredit;
  body += kCrLf;
  body += lines.libraryUse;
  body += kCrLf;
  body += kCrLf;
  body += lines.programPage;
  body += kCrLf;
  body += lines.makerSite;
  return body;
}

AboutCaptions AboutButtonCaptions(bool english) {
  return english ? AboutCaptions{"Registering", "Close"} : AboutCaptions{"Inscription", "Fermer"};
}

std::optional<bool> AboutLanguageIsEnglish(int language) {
  if (language == 0) return false;
  if (language == 1) return true;
  return std::nullopt;
}

}  // namespace morvo
