/* A preloaded library (LD_PRELOAD) that makes one call of the C library fail, so a
 * test can see what a program leaves behind when a write fails at each point.
 *
 *   ZELMOR_FAULT=KIND:N         the Nth call of KIND fails (1 is the first)
 *   ZELMOR_FAULT_ERRNO=E        the errno it fails with (a number; each kind has a
 *                               likely default: ENOSPC for writes, EIO for the rest)
 *   ZELMOR_FAULT_COUNTS=PATH    at exit, "KIND COUNT" lines are appended to PATH: how
 *                               many calls of each kind the run made
 *
 * Kinds, counted only where they touch files (never a pipe, a socket or a terminal):
 *   open    open/openat/creat/fopen for writing or creating
 *   write   write, pwrite, writev, copy_file_range into a file
 *   fwrite  fwrite and fputs into a file
 *   fflush  fflush of a file
 *   fsync   fsync and fdatasync
 *   close   close of a file (the descriptor is closed, then the error is reported,
 *           as Linux does)
 *   fclose  fclose of a file (closed, then the error reported)
 *   rename  rename, renameat, renameat2, link, linkat
 *   unlink  unlink and unlinkat
 * A failing write writes nothing; a failing fwrite writes nothing and answers 0.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum Kind { kOpen, kWrite, kFwrite, kFflush, kFsync, kClose, kFclose, kRename, kUnlink, kKinds };
static const char* const kNames[kKinds] = {"open",  "write",  "fwrite", "fflush", "fsync",
                                           "close", "fclose", "rename", "unlink"};
static const int kDefaultErrno[kKinds] = {ENOSPC, ENOSPC, ENOSPC, ENOSPC, EIO, EIO, ENOSPC, EIO, EIO};

static atomic_long counts[kKinds];
static int faultKind = -1;
static long faultAt = 0;
static int faultErrno = 0;
static int ready = 0;

static void Setup(void) {
  if (ready) return;
  ready = 1;
  const char* wanted = getenv("ZELMOR_FAULT");
  if (wanted != NULL) {
    const char* colon = strchr(wanted, ':');
    for (int k = 0; colon != NULL && k < kKinds; ++k)
      if ((size_t)(colon - wanted) == strlen(kNames[k]) && strncmp(wanted, kNames[k], (size_t)(colon - wanted)) == 0) {
        faultKind = k;
        faultAt = strtol(colon + 1, NULL, 10);
      }
  }
  const char* e = getenv("ZELMOR_FAULT_ERRNO");
  faultErrno = e != NULL ? atoi(e) : 0;
}

__attribute__((constructor)) static void Start(void) { Setup(); }

/* Counts one call of `kind`; true when this one must fail (errno is then set). */
static int Strike(int kind) {
  Setup();
  const long n = atomic_fetch_add(&counts[kind], 1) + 1;
  if (kind != faultKind || n != faultAt) return 0;
  errno = faultErrno != 0 ? faultErrno : kDefaultErrno[kind];
  return 1;
}

/* The C library's own `name`, found once. */
#define REAL(name)                      \
  static __typeof__(name)* real_##name; \
  if (!real_##name) real_##name = (__typeof__(name)*)dlsym(RTLD_NEXT, #name)

static int IsFile(int fd) {
  struct stat st;
  const int saved = errno;
  const int r = fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  errno = saved;
  return r;
}

static int Writing(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

static int WritingMode(const char* mode) { return mode != NULL && strpbrk(mode, "wa+") != NULL; }

__attribute__((destructor)) static void Report(void) {
  const char* path = getenv("ZELMOR_FAULT_COUNTS");
  if (path == NULL) return;
  REAL(open);
  REAL(write);
  REAL(close);
  const int fd = real_open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  char line[64];
  for (int k = 0; k < kKinds; ++k) {
    const int len = snprintf(line, sizeof line, "%s %ld\n", kNames[k], atomic_load(&counts[k]));
    if (len > 0) real_write(fd, line, (size_t)len);
  }
  real_close(fd);
}

/* ---- opening ---- */

int open(const char* path, int flags, ...) {
  REAL(open);
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = va_arg(ap, mode_t);
    va_end(ap);
  }
  if (Writing(flags) && Strike(kOpen)) return -1;
  return real_open(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  REAL(open64);
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = va_arg(ap, mode_t);
    va_end(ap);
  }
  if (Writing(flags) && Strike(kOpen)) return -1;
  return real_open64(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  REAL(openat);
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = va_arg(ap, mode_t);
    va_end(ap);
  }
  if (Writing(flags) && Strike(kOpen)) return -1;
  return real_openat(dirfd, path, flags, mode);
}

int creat(const char* path, mode_t mode) {
  REAL(creat);
  if (Strike(kOpen)) return -1;
  return real_creat(path, mode);
}

FILE* fopen(const char* path, const char* mode) {
  REAL(fopen);
  if (WritingMode(mode) && Strike(kOpen)) return NULL;
  return real_fopen(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  REAL(fopen64);
  if (WritingMode(mode) && Strike(kOpen)) return NULL;
  return real_fopen64(path, mode);
}

/* ---- writing ---- */

ssize_t write(int fd, const void* buf, size_t count) {
  REAL(write);
  if (IsFile(fd) && Strike(kWrite)) return -1;
  return real_write(fd, buf, count);
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
  REAL(pwrite);
  if (IsFile(fd) && Strike(kWrite)) return -1;
  return real_pwrite(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t count, off_t offset) {
  REAL(pwrite64);
  if (IsFile(fd) && Strike(kWrite)) return -1;
  return real_pwrite64(fd, buf, count, offset);
}

ssize_t writev(int fd, const struct iovec* iov, int n) {
  REAL(writev);
  if (IsFile(fd) && Strike(kWrite)) return -1;
  return real_writev(fd, iov, n);
}

ssize_t copy_file_range(int in, off_t* inOff, int out, off_t* outOff, size_t len, unsigned flags) {
  REAL(copy_file_range);
  if (IsFile(out) && Strike(kWrite)) return -1;
  return real_copy_file_range(in, inOff, out, outOff, len, flags);
}

size_t fwrite(const void* ptr, size_t size, size_t n, FILE* f) {
  REAL(fwrite);
  if (IsFile(fileno(f)) && Strike(kFwrite)) return 0;
  return real_fwrite(ptr, size, n, f);
}

int fputs(const char* s, FILE* f) {
  REAL(fputs);
  if (IsFile(fileno(f)) && Strike(kFwrite)) return EOF;
  return real_fputs(s, f);
}

int fflush(FILE* f) {
  REAL(fflush);
  if (f != NULL && IsFile(fileno(f)) && Strike(kFflush)) return EOF;
  return real_fflush(f);
}

int fsync(int fd) {
  REAL(fsync);
  if (Strike(kFsync)) return -1;
  return real_fsync(fd);
}

int fdatasync(int fd) {
  REAL(fdatasync);
  if (Strike(kFsync)) return -1;
  return real_fdatasync(fd);
}

/* ---- closing ---- */

int close(int fd) {
  REAL(close);
  const int file = IsFile(fd);
  const int r = real_close(fd);
  if (r == 0 && file && Strike(kClose)) return -1;
  return r;
}

int fclose(FILE* f) {
  REAL(fclose);
  const int file = IsFile(fileno(f));
  const int r = real_fclose(f);
  if (r == 0 && file && Strike(kFclose)) return EOF;
  return r;
}

/* ---- names ---- */

int rename(const char* from, const char* to) {
  REAL(rename);
  if (Strike(kRename)) return -1;
  return real_rename(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  REAL(renameat);
  if (Strike(kRename)) return -1;
  return real_renameat(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  REAL(renameat2);
  if (Strike(kRename)) return -1;
  return real_renameat2(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
  REAL(link);
  if (Strike(kRename)) return -1;
  return real_link(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
  REAL(linkat);
  if (Strike(kRename)) return -1;
  return real_linkat(fromDir, from, toDir, to, flags);
}

int unlink(const char* path) {
  REAL(unlink);
  if (Strike(kUnlink)) return -1;
  return real_unlink(path);
}

int unlinkat(int dir, const char* path, int flags) {
  REAL(unlinkat);
  if (Strike(kUnlink)) return -1;
  return real_unlinkat(dir, path, flags);
}
