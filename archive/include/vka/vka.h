/* libvka: the game's data archives ("Master of Magic", format version 0x200).
 *
 * Four exported functions, callable from C. Paths are NUL-terminated 8-bit strings passed
 * unchanged to the file system (on Windows: in the ANSI code page, as every ...A call takes
 * them). Every call opens, works on and closes its files before it returns; nothing is kept
 * between calls. The progress callback, when not null, is called
 * synchronously on the caller's thread once per archive entry processed. */
#ifndef VKA_VKA_H
#define VKA_VKA_H

#include <stdint.h>

#if defined(VKA_BUILDING_LIBRARY) && !defined(_WIN32)
#define VKA_API __attribute__((visibility("default")))
#else
#define VKA_API /* VKA.dll exports through its module-definition file */
#endif

/* The exports' calling convention: __stdcall on Windows, as DLL exports are there (it
 * matters on x86); the platform's own elsewhere. */
#if defined(_WIN32)
#define VKA_CALL __stdcall
#else
#define VKA_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes, shared by every export. */
#define VKA_OK 1              /* success */
#define VKA_ERR_VERSION 2     /* the header's version is not 0x200 */
#define VKA_ERR_NOT_ARCHIVE 3 /* wrong magic, or damaged: table, count or entry data outside it */
#define VKA_ERR_ZLIB                                                                     \
  4                    /* the table does not decompress to sound records, or compression \
                          failed */
#define VKA_ERR_OPEN 5 /* a file cannot be opened, created, written or replaced */

/* The only format version there is; VKA_CheckVersion answers it for a readable archive. */
#define VKA_FORMAT_VERSION 0x200

/* No arguments and no result: one and the same call in every x86 calling convention. */
typedef void (*VKA_Progress)(void);

/* Appends every entry of source (records and stored bytes) to destination. The destination is
 * at every instant either its old self or the merged archive: the new data and table go behind
 * the old table and one header write commits them. Both archives are checked whole before a
 * byte is written. 1, or 2..5 (5 for any destination that does not open as an archive, and for
 * a merge that cannot be written or would pass 2 GiB; the destination is then unchanged). */
VKA_API int32_t VKA_CALL VKA_Fusion(const char* sourcePath, const char* destinationPath,
                                    VKA_Progress progress);

/* 512 for a readable archive, else 2..5. Never 1. */
VKA_API int32_t VKA_CALL VKA_CheckVersion(const char* path);

/* Rebuilds archivePath through tempPath, keeping the last entry of each name, and puts the
 * rebuilt file in place with one atomic rename. 1, or 2..5; on failure the archive is as it was
 * and no temporary file is left behind. A tempPath naming the archive itself gives 5. */
VKA_API int32_t VKA_CALL VKA_Repack(const char* archivePath, const char* tempPath,
                                    VKA_Progress progress);

/* Number of entries in the file table (directories and repeated names counted), else 2..5. */
VKA_API int32_t VKA_CALL VKA_GetFileCount(const char* path);

#ifdef __cplusplus
}
#endif

#endif
