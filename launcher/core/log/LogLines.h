// Every fixed line of the log, in Windows-1252 bytes (0xE9 is "é"), in the order a run writes
// them. Leading blanks are part of a line and show its nesting.
#pragma once

namespace morvo {

namespace loglines {

inline constexpr char kHeaderTitle[] = "Morvo Patcher Log";
inline constexpr char kHeaderRule[] = "-----------------";
inline constexpr char kInterfaceInit[] = "Initialisation de l'interface ...";
inline constexpr char kInterfaceInitDone[] = "Initialisation termin\xE9.";
inline constexpr char kMusicLoad[] = "Chargement du fichier MP3 (%s) ...";
inline constexpr char kMusicLoadDone[] = "Chargement du fichier MP3 termin\xE9.";
inline constexpr char kMusicLoadError[] = "Chargement du fichier MP3 :  Erreur.";
inline constexpr char kUnfinishedCheck[] = "V\xE9rification des patchs non-install\xE9s ...";
inline constexpr char kUnfinishedInstall[] = "Installation des patchs non-install\xE9s (%d) ...";
inline constexpr char kUnfinishedInstallDone[] =
    "Installation des patchs non-install\xE9s termin\xE9"
    "e.";
inline constexpr char kUnfinishedCheckDone[] =
    "V\xE9rification des patchs non-install\xE9s termin\xE9"
    "e.";
inline constexpr char kNewsFetch[] =
    "R\xE9"
    "cup\xE9ration de la page web ...";
inline constexpr char kNewsFetchDone[] =
    "R\xE9"
    "cup\xE9ration de la page web termin\xE9"
    "e.";
inline constexpr char kListFetch[] =
    "R\xE9"
    "cup\xE9ration de la liste des patchs ...";
inline constexpr char kListFetchDone[] =
    "R\xE9"
    "cup\xE9ration de la liste des patchs termin\xE9"
    "e.";
inline constexpr char kPatchesFetch[] =
    "R\xE9"
    "cup\xE9ration des patchs disponibles (%d) ...";
inline constexpr char kPatchLine[] = "  %s";
// A download that failed (after its retries), with its reason; under the list's line or the
// patch's "  %s" line.
inline constexpr char kListFetchError[] =
    "  Erreur :  T\xE9l\xE9"
    "chargement impossible (%s).";
inline constexpr char kPatchFetchError[] =
    "    Erreur :  T\xE9l\xE9"
    "chargement impossible (%s).";
// With a signing key in the configuration: the list's signature could not be downloaded (its
// reason), or does not verify the list's bytes; nothing of the list is used.
inline constexpr char kListSignatureFetchError[] =
    "  Erreur :  Signature de la liste introuvable (%s) > liste ignor\xE9"
    "e.";
inline constexpr char kListSignatureInvalid[] =
    "  Erreur :  Signature de la liste invalide > liste ignor\xE9"
    "e.";
// With a signing key: a patch the list gives no SHA-256 for is neither downloaded nor
// registered. (A body whose SHA-256 differs is a failed download, kPatchFetchError.)
inline constexpr char kPatchDigestMissing[] =
    "    Erreur :  Empreinte SHA-256 absente de la liste > patch refus\xE9.";
// A patch whose file name cannot name its container in the game folder (the name, its
// control characters shown as '?'): it is neither downloaded nor registered.
inline constexpr char kPatchNameRefused[] = "    Erreur :  Nom de fichier refus\xE9 (%s).";
inline constexpr char kPatchesFetchDone[] =
    "R\xE9"
    "cup\xE9ration des patchs disponibles termin\xE9"
    "e.";
inline constexpr char kInstall[] = "Installation des patchs (%d) ...";
inline constexpr char kContainerInvalid[] = "    Erreur :  Invalide ou corrompu.";
// What the container installed could not be forced to the disk (an I/O error).
inline constexpr char kContainerFlushError[] =
    "    Erreur :  Enregistrement sur le disque impossible.";
inline constexpr char kContainerExtract[] = "    Extraction :  %d fichiers";
inline constexpr char kEntryRead[] = "      Lecture du fichier %s -> %d octets.";
inline constexpr char kConfigCheck[] =
    "        V\xE9rification du nouveau fichier de configuration ...";
inline constexpr char kConfigCheckError[] =
    "        V\xE9rification du fichier :  Erreur > ignor\xE9.";
inline constexpr char kConfigCheckDone[] =
    "        V\xE9rification du nouveau fichier de configuration termin\xE9"
    "e.";
inline constexpr char kEntryWrite[] = "        Ecriture du fichier vers %s.";
inline constexpr char kArchiveCopy[] = "        Copie du fichier %s vers %s.";
inline constexpr char kVersionCheck[] =
    "        V\xE9rification de la version des fichiers VKA %s et %s ...";
inline constexpr char kVersionCheckDone[] =
    "        V\xE9rification de la version des fichiers VKA termin\xE9"
    "e.";
inline constexpr char kMerge[] = "        Fusion des fichiers VKA %s et %s ...";
inline constexpr char kMergeDone[] =
    "        Fusion des fichiers VKA termin\xE9"
    "e.";
inline constexpr char kMergeError[] = "        Fusion des fichiers VKA :  Erreur.";
inline constexpr char kVersionCheckError[] =
    "      V\xE9rification de la version :  Erreur > fichiers ignor\xE9s.";
inline constexpr char kRepack[] = "  Repack des fichiers VKA ...";
inline constexpr char kRepackSuccess[] = "    %s -> %d fichiers :  R\xE9ussi.";
inline constexpr char kRepackError[] = "    %s -> %d fichiers :  Erreur.";
inline constexpr char kRepackDone[] =
    "  Repack des fichiers VKA termin\xE9"
    "e.";
// Installation failures: the container is deleted and downloaded again by the next run.
inline constexpr char kDestinationRefused[] =
    "        Destination %s :  Erreur > chemin refus\xE9.";
inline constexpr char kEntryWriteError[] = "        Ecriture du fichier :  Erreur.";
// A file in use (a loaded library, a running program) renamed aside to let the new one in.
inline constexpr char kEntryInUse[] =
    "        Fichier %s en cours d'utilisation :  ancien fichier d\xE9plac\xE9 vers %s.";
inline constexpr char kArchiveCopyError[] = "        Copie du fichier :  Erreur.";
inline constexpr char kInstallDone[] =
    "Installation termin\xE9"
    "e.";
// The self-update's copy of the program (its file name): left for a later start when the
// program's path cannot be handed to it, not started, or deleted after its one further try.
inline constexpr char kProgramCopyDeferred[] =
    "Copie du programme %s :  Erreur > chemin du programme non transmissible, mise \xE0 jour "
    "report\xE9"
    "e.";
inline constexpr char kProgramCopyStartError[] =
    "Copie du programme %s :  Erreur > lancement impossible.";
inline constexpr char kProgramCopyDropped[] =
    "Copie du programme %s :  Erreur > mise \xE0 jour impossible, copie supprim\xE9"
    "e.";
// Why a run installed less than it should: the game folder refuses writing, or patches could
// not be downloaded or installed (they are fetched again by the next start).
inline constexpr char kFolderNotWritable[] =
    "Erreur :  Dossier du jeu prot\xE9g\xE9 en \xE9"
    "criture > aucun patch install\xE9.";
inline constexpr char kPatchesFailed[] =
    "Erreur :  %d patch(s) non install\xE9(s) > nouvel essai au prochain lancement.";
inline constexpr char kEnd[] = "Fin du log.";

}  // namespace loglines

}  // namespace morvo
