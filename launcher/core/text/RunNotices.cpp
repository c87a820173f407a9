#include "text/RunNotices.h"

#include "text/FixedText.h"

namespace morvo {

namespace {

bool English(std::int32_t language) { return language == kEnglishLanguage; }

}  // namespace

std::string FailedPatchesNotice(int count, std::int32_t language) {
  const std::string number = std::to_string(count);
  if (English(language)) {
    return count == 1 ? "1 patch could not be installed; it will be retried at the next start."
                      : number +
                            " patches could not be installed; they will be retried at the next "
                            "start.";
  }
  return count == 1
             ? "1 patch n'a pas pu \xEAtre install\xE9 ; il sera retent\xE9 au prochain lancement."
             : number +
                   " patchs n'ont pas pu \xEAtre install\xE9s ; ils seront retent\xE9s au prochain "
                   "lancement.";
}

std::string ReadOnlyFolderNotice(std::int32_t language) {
  return English(language) ? "The game folder cannot be written: no patch can be installed."
                           : "Le dossier du jeu est prot\xE9g\xE9 en \xE9"
                             "criture : aucun patch ne peut \xEAtre "
                             "install\xE9.";
}

std::string UnverifiedListNotice(std::int32_t language) {
  return English(language) ? "The patch list could not be verified: no patch was installed."
                           : "La liste des patchs n'a pas pu \xEAtre v\xE9rifi\xE9"
                             "e : aucun patch n'a \xE9t\xE9 install\xE9.";
}

std::string SelfUpdateDeferredNotice(std::int32_t language) {
  return English(language)
             ? "The launcher update waits: its folder path holds two blanks in a row, a tab or a "
               "quote."
             : "La mise \xE0 jour du lanceur attend : le chemin de son dossier contient deux "
               "espaces de suite, une tabulation ou un guillemet.";
}

}  // namespace morvo
