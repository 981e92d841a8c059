/* A file system for the tests that lies as failing and counterfeit sticks
 * do, mounted through FUSE. It passes everything through to a folder (the
 * "medium") but:
 *
 *   lying_fs MEDIUM MOUNTPOINT budget N   keeps the first N bytes of data
 *       written, all files together; every write past them is answered as
 *       written and dropped, and those bytes read back as zeros (or as what
 *       the medium held there before);
 *   lying_fs MEDIUM MOUNTPOINT flip PATH  gives back the middle byte of the
 *       file at PATH (relative, with "/") flipped, as opened by that name;
 *
 * with "no-direct" after either, it refuses to open a file for reads past
 * the cache (O_DIRECT), as some file systems do.
 *
 * It runs in the foreground until it is unmounted. Each open keeps the
 * kernel's cache of the file, so an ordinary read of a file just written
 * gets the bytes that were written from the cache: only a read past the
 * cache (O_DIRECT, or after the cached pages were dropped) sees the lie, as
 * only such a read reaches a stick's flash.
 */
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

static int medium = -1;              /* the folder behind the mount */
static int64_t budget = -1;          /* bytes still kept; -1: all */
static const char* flipped = NULL;   /* "/PATH" of the file read back flipped */
static int refuses_direct = 0;

/* An open file: the medium's descriptor and whether its reads lie. */
struct open_file {
  int fd;
  int flips;
};

static struct open_file* file_of(struct fuse_file_info* fi) {
  return (struct open_file*)(uintptr_t)fi->fh;
}

/* FUSE paths start with "/"; the medium's own are relative to its folder. */
static const char* rel(const char* path) { return path[1] ? path + 1 : "."; }

static int fail(void) { return -errno; }

static void* lying_init(struct fuse_conn_info* conn, struct fuse_config* cfg) {
  /* The cache of a file is not dropped when its time or size changes. */
  conn->want &= ~FUSE_CAP_AUTO_INVAL_DATA;
  cfg->nullpath_ok = 1;  /* every call on an open file goes through its descriptor */
  cfg->hard_remove = 1;  /* a file removed while open leaves no hidden name */
  return NULL;
}

static int lying_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
  const int done = fi ? fstat(file_of(fi)->fd, st)
                      : fstatat(medium, rel(path), st, AT_SYMLINK_NOFOLLOW);
  return done == 0 ? 0 : fail();
}

static int lying_access(const char* path, int mask) {
  return faccessat(medium, rel(path), mask, 0) == 0 ? 0 : fail();
}

static int lying_readlink(const char* path, char* buffer, size_t size) {
  const ssize_t got = readlinkat(medium, rel(path), buffer, size - 1);
  if (got < 0) return fail();
  buffer[got] = '\0';
  return 0;
}

static int lying_opendir(const char* path, struct fuse_file_info* fi) {
  const int fd = openat(medium, rel(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd < 0 ? NULL : fdopendir(fd);
  if (!dir) {
    const int error = errno;
    if (fd >= 0) close(fd);
    return -error;
  }
  fi->fh = (uintptr_t)dir;
  return 0;
}

static int lying_readdir(const char* path, void* out, fuse_fill_dir_t fill, off_t offset,
                         struct fuse_file_info* fi, enum fuse_readdir_flags flags) {
  (void)path, (void)offset, (void)flags;
  DIR* dir = (DIR*)(uintptr_t)fi->fh;
  rewinddir(dir);
  for (struct dirent* entry; (entry = readdir(dir));) {
    if (fill(out, entry->d_name, NULL, 0, 0)) break;
  }
  return 0;
}

static int lying_releasedir(const char* path, struct fuse_file_info* fi) {
  (void)path;
  closedir((DIR*)(uintptr_t)fi->fh);
  return 0;
}

static int lying_mkdir(const char* path, mode_t mode) {
  return mkdirat(medium, rel(path), mode) == 0 ? 0 : fail();
}

static int lying_unlink(const char* path) {
  return unlinkat(medium, rel(path), 0) == 0 ? 0 : fail();
}

static int lying_rmdir(const char* path) {
  return unlinkat(medium, rel(path), AT_REMOVEDIR) == 0 ? 0 : fail();
}

static int lying_symlink(const char* target, const char* path) {
  return symlinkat(target, medium, rel(path)) == 0 ? 0 : fail();
}

static int lying_rename(const char* from, const char* to, unsigned int flags) {
  return renameat2(medium, rel(from), medium, rel(to), flags) == 0 ? 0 : fail();
}

static int lying_chmod(const char* path, mode_t mode, struct fuse_file_info* fi) {
  const int done = fi ? fchmod(file_of(fi)->fd, mode) : fchmodat(medium, rel(path), mode, 0);
  return done == 0 ? 0 : fail();
}

static int lying_chown(const char* path, uid_t uid, gid_t gid, struct fuse_file_info* fi) {
  const int done = fi ? fchown(file_of(fi)->fd, uid, gid)
                      : fchownat(medium, rel(path), uid, gid, AT_SYMLINK_NOFOLLOW);
  return done == 0 ? 0 : fail();
}

static int lying_truncate(const char* path, off_t size, struct fuse_file_info* fi) {
  if (fi) return ftruncate(file_of(fi)->fd, size) == 0 ? 0 : fail();
  const int fd = openat(medium, rel(path), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return fail();
  const int done = ftruncate(fd, size) == 0 ? 0 : fail();
  close(fd);
  return done;
}

static int lying_utimens(const char* path, const struct timespec times[2],
                         struct fuse_file_info* fi) {
  const int done = fi ? futimens(file_of(fi)->fd, times)
                      : utimensat(medium, rel(path), times, AT_SYMLINK_NOFOLLOW);
  return done == 0 ? 0 : fail();
}

/* The medium's file is opened without O_DIRECT, whatever the caller asked:
 * the lie is told above any cache of the medium's own. */
static int open_on_medium(const char* path, int flags, mode_t mode, struct fuse_file_info* fi) {
  if (refuses_direct && (flags & O_DIRECT)) return -EINVAL;
  struct open_file* file = malloc(sizeof *file);
  if (!file) return -ENOMEM;
  file->fd = openat(medium, rel(path), (flags & ~O_DIRECT) | O_CLOEXEC, mode);
  if (file->fd < 0) {
    const int error = errno;
    free(file);
    return -error;
  }
  file->flips = flipped && strcmp(path, flipped) == 0;
  fi->fh = (uintptr_t)file;
  fi->keep_cache = 1;
  return 0;
}

static int lying_create(const char* path, mode_t mode, struct fuse_file_info* fi) {
  return open_on_medium(path, fi->flags | O_CREAT, mode, fi);
}

static int lying_open(const char* path, struct fuse_file_info* fi) {
  return open_on_medium(path, fi->flags, 0, fi);
}

static int lying_read(const char* path, char* buffer, size_t size, off_t offset,
                      struct fuse_file_info* fi) {
  (void)path;
  const struct open_file* file = file_of(fi);
  const ssize_t got = pread(file->fd, buffer, size, offset);
  if (got < 0) return fail();
  struct stat st;
  if (file->flips && fstat(file->fd, &st) == 0) {
    const off_t middle = st.st_size / 2;
    if (middle >= offset && middle < offset + got) buffer[middle - offset] ^= 0xFF;
  }
  return (int)got;
}

/* Writes what the budget still keeps; the rest is dropped, the file only
 * grown to the size it was told, as a stick's table of files is. */
static int lying_write(const char* path, const char* data, size_t size, off_t offset,
                       struct fuse_file_info* fi) {
  (void)path;
  const int fd = file_of(fi)->fd;
  size_t kept = size;
  if (budget >= 0 && (int64_t)size > budget) kept = (size_t)budget;
  for (size_t done = 0; done < kept;) {
    const ssize_t wrote = pwrite(fd, data + done, kept - done, offset + (off_t)done);
    if (wrote < 0) return fail();
    done += (size_t)wrote;
  }
  if (budget >= 0) budget -= (int64_t)kept;
  struct stat st;
  if (kept < size && fstat(fd, &st) == 0 && st.st_size < offset + (off_t)size &&
      ftruncate(fd, offset + (off_t)size) != 0) {
    return fail();
  }
  return (int)size;
}

static int lying_statfs(const char* path, struct statvfs* st) {
  (void)path;
  return fstatvfs(medium, st) == 0 ? 0 : fail();
}

/* The medium is a folder of the test's: nothing to flush to it. */
static int lying_fsync(const char* path, int data_only, struct fuse_file_info* fi) {
  (void)path, (void)data_only, (void)fi;
  return 0;
}

static int lying_release(const char* path, struct fuse_file_info* fi) {
  (void)path;
  struct open_file* file = file_of(fi);
  close(file->fd);
  free(file);
  return 0;
}

static const struct fuse_operations lying_operations = {
    .init = lying_init,
    .getattr = lying_getattr,
    .access = lying_access,
    .readlink = lying_readlink,
    .opendir = lying_opendir,
    .readdir = lying_readdir,
    .releasedir = lying_releasedir,
    .mkdir = lying_mkdir,
    .unlink = lying_unlink,
    .rmdir = lying_rmdir,
    .symlink = lying_symlink,
    .rename = lying_rename,
    .chmod = lying_chmod,
    .chown = lying_chown,
    .truncate = lying_truncate,
    .utimens = lying_utimens,
    .create = lying_create,
    .open = lying_open,
    .read = lying_read,
    .write = lying_write,
    .statfs = lying_statfs,
    .fsync = lying_fsync,
    .release = lying_release,
};

static int usage(void) {
  fputs("usage: lying_fs MEDIUM MOUNTPOINT (budget BYTES | flip PATH) [no-direct]\n", stderr);
  return 2;
}

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) return usage();
  if (argc == 6) {
    if (strcmp(argv[5], "no-direct") != 0) return usage();
    refuses_direct = 1;
  }
  static char flipped_path[4096];
  if (strcmp(argv[3], "budget") == 0) {
    char* end = NULL;
    budget = strtoll(argv[4], &end, 10);
    if (*end || budget < 0) return usage();
  } else if (strcmp(argv[3], "flip") == 0) {
    snprintf(flipped_path, sizeof flipped_path, "/%s", argv[4]);
    flipped = flipped_path;
  } else {
    return usage();
  }
  medium = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (medium < 0) {
    perror(argv[1]);
    return 1;
  }
  /* Foreground, one thread (the budget is spent in order), the mount
   * table's type "fuse.lying". */
  char* fuse_argv[] = {argv[0], "-f", "-s", "-o", "fsname=lying,subtype=lying", argv[2], NULL};
  return fuse_main(6, fuse_argv, &lying_operations, NULL);
}
