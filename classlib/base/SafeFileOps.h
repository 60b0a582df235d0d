#pragma once
// The one way a listed file or folder is deleted, moved, renamed or overwritten.
// Every call acts only on the entry the path names, spelt exactly as given (a name with
// trailing dots or blanks is not its trimmed look-alike; no length limit), never
// through a link:
// - a reparse point (symbolic link, junction) is a link: a delete removes the link
//   itself, a move or rename moves the link, an overwrite is refused;
// - where the platform can show a link unmarked (Wine shows a host link to a file as
//   a plain file and acts on its target), an entry whose final path differs from the
//   listed path (compared long, normalised and case-insensitive) is such a link, or
//   lies below a linked folder: it and its target are left alone and the result says
//   so. On Windows every link carries its mark, and the mark alone decides;
// - hard links are ordinary files to delete, move or rename; one with other names is
//   never overwritten (SafeNameCount tells, through the opened handle).
// Callers report sfLink where they report failures (log line, error list, message)
// and never count such an entry as removed. Paths are UTF-8. Any thread.
#include "classlib/base/Handle.h"
#include <functional>
#include <string>
#include <windows.h>

enum TSafeFileStatus {
    sfDone,
    sfFailed, // Error holds the Win32 error
    sfLink,   // refused: the operation would reach through a link
};

struct TSafeFileResult {
    TSafeFileStatus Status = sfDone;
    DWORD Error = 0;
    [[nodiscard]] bool Done() const { return Status == sfDone; }
    [[nodiscard]] bool IsLink() const { return Status == sfLink; }
    // Failed because the entry, or a folder on its path, does not exist.
    [[nodiscard]] bool NotFound() const {
        return Status == sfFailed &&
               (Error == ERROR_FILE_NOT_FOUND || Error == ERROR_PATH_NOT_FOUND);
    }
    // Failed for good: a name Windows cannot hold (ERROR_INVALID_NAME), or an entry
    // whose final path the platform cannot tell (ERROR_CANT_RESOLVE_FILENAME). The
    // entry is left in place; a later try fails alike.
    [[nodiscard]] bool Unreachable() const {
        return Status == sfFailed &&
               (Error == ERROR_INVALID_NAME || Error == ERROR_CANT_RESOLVE_FILENAME);
    }
    // For logs and error lists: the system's message, or that the entry was left alone.
    [[nodiscard]] std::string Text() const;
};

// Whether a link can look like a plain file: true under Wine, where a host link to a
// file carries no mark and only the final path of an opened entry tells it; false on
// Windows, where every link and junction is marked in the folder listing, so no file
// is opened just to look for links (and a subst or mapped drive, whose final path
// differs from the listed one, is no link). Tests replace the query to take either way.
extern std::function<bool()> UnmarkedLinksQuery;
bool RunsUnderWine(); // the default query

// The "\\?\" form of a path, so that Win32 takes every name as spelt; a relative or
// unnormalised path ("..", "/") is made full first.
std::string ExactPath(const std::string& Path);
// Fails with ERROR_INVALID_NAME for an entry whose name (the part after the last "\")
// holds a character Windows never allows in one, as other systems on the same disk
// may write: no call here reaches it by that name, and none tries.
TSafeFileResult SafeCheckName(const std::string& Path);

// Deletes a file, or a link (to a file or a folder) itself. A folder fails with
// ERROR_ACCESS_DENIED, a read-only file too, as DeleteFile does, unless ClearReadOnly
// is set: then the attribute is cleared first through the same handle.
TSafeFileResult SafeDeleteFile(const std::string& Path, bool ClearReadOnly = false);
// Removes an empty folder, or a link to a folder itself.
TSafeFileResult SafeRemoveDir(const std::string& Dir);
// Moves or renames a file or folder (a link moves itself). Flags as MoveFileEx; the
// default lets a file move to another drive, as MoveFile does.
TSafeFileResult SafeMoveFile(const std::string& From, const std::string& To,
                             DWORD Flags = MOVEFILE_COPY_ALLOWED);

// An existing file opened for overwriting; Handle is empty unless Result is done.
struct TSafeOpenedFile {
    TFileHandle Handle;
    TSafeFileResult Result;
};
// Opens an existing file with the given access, sharing and flags; any link, marked
// or not, is refused.
TSafeOpenedFile SafeOpenForOverwrite(const std::string& Path, DWORD Access = GENERIC_WRITE,
                                     DWORD Share = 0, DWORD Flags = 0);
// For a file that SafeOpenForOverwrite checked and opened with DELETE access, through
// its handle, so that the check made at opening covers them: renames it to NewName, a
// full path in its folder, taking the place of a file of that name only when Replace
// is set; deletes it once the handle is closed.
TSafeFileResult SafeRenameOpened(HANDLE File, const std::string& NewName, bool Replace);
TSafeFileResult SafeDeleteOpened(HANDLE File);
// How many names (hard links) an opened file has; 0 when the platform does not tell.
DWORD SafeNameCount(HANDLE File);

// The path the platform gives for an opened file: the target's where it was reached
// through a link or a linked folder, so one file has one final path however it is
// reached; "" when the platform gives none.
std::string SafeFinalPath(HANDLE File);

// The real path of a file or folder: every link and junction on the way followed, as
// the platform resolves it (host links under Wine too). For a path that does not
// exist, its nearest existing folder's real path with the rest appended; "" when not
// even the drive can be opened. Never changes anything.
std::string SafeRealPath(const std::string& Path);

// What the calls above would meet, without changing anything (for simulation runs
// and counts): sfLink for an unmarked link, sfFailed when the entry cannot be opened,
// sfDone otherwise (a marked link included). Where every link is marked nothing is
// opened: sfDone.
TSafeFileResult SafeCheckEntry(const std::string& Path);
// As SafeCheckEntry, but a marked link is refused too (sfLink): before a folder is
// walked or attributes are set, which would follow any link. Where every link is
// marked, the entry's attributes answer.
TSafeFileResult SafeCheckNoLink(const std::string& Path);
