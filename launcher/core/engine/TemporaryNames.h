// The names of every temporary file the patcher leaves in the program's folder while it works.
// All begin with "MorvoTMP", so that a stray one is recognisable as ours, and the handoff only
// ever deletes a file of that name.
#pragma once

#include <string_view>

namespace morvo {

inline constexpr char kTemporaryPrefix[] = "MorvoTMP";

inline constexpr char kServerListFileName[] = "MorvoTMPPatchsList.ini";
// The list's detached signature, fetched when the configuration holds a signing key.
inline constexpr char kListSignatureFileName[] = "MorvoTMPPatchsList.sig";
inline constexpr char kRepackTempFileName[] = "MorvoTMPVKA.vka";
inline constexpr char kRepackRecordFileName[] = "MorvoTMPRepacks.lst";
inline constexpr char kContainerPrefix[] = "MorvoTMP";             // + FileNameOfUrl(url)
inline constexpr char kExtractedArchivePrefix[] = "MorvoTMPVKA_";  // + archive file name
inline constexpr char kProgramCopyPrefix[] = "MorvoTMP_";          // + program file name
// The name of a program copy that a start has already tried again once.
inline constexpr char kSelfUpdateRecordFileName[] = "MorvoTMPSelfUpdateTried.txt";
// Created and deleted at once to learn whether the game folder can be written.
inline constexpr char kWriteCheckFileName[] = "MorvoTMPWriteCheck";
// The news page as the windowless run fetches it.
inline constexpr char kNewsPageFileName[] = "MorvoTMPNews.html";
// The Flash banner written for the player control.
inline constexpr char kFlashBannerTempName[] = "MorvoTMPBanner.swf";

// A file of the game folder that was in use when a patch replaced it, renamed aside in its own
// folder (+ a number), and the record of every such file that a later start deletes.
inline constexpr char kInUseAsidePrefix[] = "MorvoTMPInUse";
inline constexpr char kInUseRecordFileName[] = "MorvoTMPInUse.lst";

// Appended to the target's name by the atomic file writer: target + ".MorvoTMP".
inline constexpr char kAtomicWriteSuffix[] = ".MorvoTMP";
// Appended to a download's target while its body arrives: target + ".part".
inline constexpr char kDownloadPartSuffix[] = ".part";

// The run's temporary files other than the containers, by whole name and by the prefix of
// those named after another file: a container must not take the place of one of them.
inline constexpr std::string_view kRunTemporaryNames[] = {
    kServerListFileName,   kListSignatureFileName,    kRepackTempFileName,
    kRepackRecordFileName, kSelfUpdateRecordFileName, kWriteCheckFileName,
    kNewsPageFileName,     kFlashBannerTempName,      kInUseRecordFileName};
inline constexpr std::string_view kRunTemporaryPrefixes[] = {kExtractedArchivePrefix,
                                                             kProgramCopyPrefix, kInUseAsidePrefix};

static_assert(std::string_view(kServerListFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kListSignatureFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kRepackTempFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kRepackRecordFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kContainerPrefix).starts_with(kTemporaryPrefix) &&
              std::string_view(kExtractedArchivePrefix).starts_with(kTemporaryPrefix) &&
              std::string_view(kProgramCopyPrefix).starts_with(kTemporaryPrefix) &&
              std::string_view(kSelfUpdateRecordFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kWriteCheckFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kNewsPageFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kFlashBannerTempName).starts_with(kTemporaryPrefix) &&
              std::string_view(kInUseAsidePrefix).starts_with(kTemporaryPrefix) &&
              std::string_view(kInUseRecordFileName).starts_with(kTemporaryPrefix) &&
              std::string_view(kAtomicWriteSuffix).ends_with(kTemporaryPrefix));

}  // namespace morvo
