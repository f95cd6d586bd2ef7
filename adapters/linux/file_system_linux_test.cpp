// Moves of the Linux file system service: a rename within one file system, a copy
// that is whole and flushed before the source goes across two, and the refusals of a
// copy over an existing file either way. And whole files read at the size they have.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <functional>
#include <string>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"
#include "testing/temp_store.h"

namespace zelmor::adapters {
namespace {

std::string Read(const std::string& path) {
  std::string bytes;
  try {
    if (!posix::ReadWhole(path, bytes)) return "<missing>";
  } catch (const std::exception&) {
    return "<not a file>";
  }
  return bytes;
}

void Write(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
  posix::ReplaceWhole(path, bytes, mode);
  chmod(path.c_str(), mode);
}

struct stat Lstat(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// Names in a folder other than the ones a case laid out: temporary files left behind.
int Entries(const std::string& folder) {
  int n = 0;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++n;
    closedir(d);
  }
  return n;
}

// A tmpfs of `size` at `where`, in a mount namespace of this process's own; empty
// `Why()` when it is there.
class PrivateDisk {
 public:
  PrivateDisk(const std::string& where, const char* size) : FWhere(where) {
    if (unshare(CLONE_NEWNS) != 0) {
      FWhy = std::string("unshare: ") + std::strerror(errno);
    } else if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      FWhy = std::string("mount --make-rprivate /: ") + std::strerror(errno);
    } else if (mkdir(where.c_str(), 0755) != 0 ||
               mount("zelmor-test", where.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) != 0) {
      FWhy = std::string("mount tmpfs: ") + std::strerror(errno);
    } else {
      FMounted = true;
    }
  }
  ~PrivateDisk() {
    if (FMounted) umount2(FWhere.c_str(), MNT_DETACH);
  }
  const std::string& Why() const { return FWhy; }

 private:
  std::string FWhere, FWhy;
  bool FMounted = false;
};

// A whole file is read straight into the string at the size the file had when it was
// opened: every size comes back byte for byte, around the size of the read that looks
// past the end too; a file whose size says 0 while it holds text (as /proc's do) is
// read to its end all the same.
TEST(FileSystemReadTest, WholeFilesAtEverySize) {
  testing::TemporaryFolder t;
  for (std::size_t size : {0, 1, 4095, 4096, 4097, 8193, 65536 + 3, (1 << 20) + 7}) {
    std::string bytes(size, '\0');
    for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>(k * 7 + k / 251);
    const std::string path = t.Path() + "/f" + std::to_string(size);
    Write(path, bytes);
    EXPECT_EQ(Read(path), bytes) << size;
  }
  std::string maps;
  ASSERT_TRUE(posix::ReadWhole("/proc/self/maps", maps));
  EXPECT_GT(maps.size(), 4096u) << "too short to read past the first look";
  EXPECT_NE(maps.find("[stack]"), std::string::npos);
  EXPECT_EQ(maps.back(), '\n');
}

struct MoveCase {
  const char* Name;
  // Lays out the source `from` and whatever is at `to` beforehand.
  std::function<void(const std::string& from, const std::string& to)> Prepare;
  bool Moves;          // the answer
  const char* Source;  // what is left at `from` ("<missing>" when it is gone)
  const char* Target;  // what `to` holds afterwards
};

const MoveCase kCases[] = {
    {"new name", [](const std::string& f, const std::string&) { Write(f, "novo"); }, true, "<missing>", "novo"},
    {"replaces a file",
     [](const std::string& f, const std::string& t) {
       Write(f, "novo");
       Write(t, "velho");
     },
     true, "<missing>", "novo"},
    {"read-only target refused",
     [](const std::string& f, const std::string& t) {
       Write(f, "novo");
       Write(t, "velho", 0444);
     },
     false, "novo", "velho"},
    {"folder target refused",
     [](const std::string& f, const std::string& t) {
       Write(f, "novo");
       mkdir(t.c_str(), 0755);
     },
     false, "novo", "<not a file>"},
    {"read-only source copied and kept", [](const std::string& f, const std::string&) { Write(f, "novo", 0444); },
     false, "novo", "novo"},
    {"missing source", [](const std::string&, const std::string&) {}, false, "<missing>", "<missing>"},
};

// Runs every case moving from `fromFolder` to `toFolder`; `renamed` says whether the
// moved file must be the same file (a rename) or a copy.
void RunCases(const std::string& fromFolder, const std::string& toFolder, bool renamed) {
  platform::FileSystem& fs = SystemFileSystem();
  int n = 0;
  for (const MoveCase& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string from = fromFolder + "/m" + std::to_string(n), to = toFolder + "/m" + std::to_string(n);
    ++n;
    c.Prepare(from, to);
    const struct stat before = Lstat(from);
    const int folderBefore = Entries(toFolder);
    const bool targetBefore = Exists(to);
    std::u16string why;
    EXPECT_EQ(fs.MoveFile(Utf8ToU16(from), Utf8ToU16(to), &why), c.Moves) << U16ToUtf8(why);
    EXPECT_EQ(c.Moves, why.empty()) << U16ToUtf8(why);
    EXPECT_EQ(Read(from), c.Source);
    EXPECT_EQ(Read(to), c.Target);
    EXPECT_EQ(Entries(toFolder), folderBefore + (!targetBefore && Exists(to) ? 1 : 0))
        << "a temporary file was left behind";
    if (c.Moves) {
      const struct stat after = Lstat(to);
      EXPECT_EQ(after.st_ino == before.st_ino && after.st_dev == before.st_dev, renamed);
      EXPECT_EQ(after.st_mode, before.st_mode);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }
  }
}

TEST(FileSystemMoveTest, WithinOneFileSystemRenames) {
  testing::TemporaryFolder t;
  mkdir((t.Path() + "/a").c_str(), 0755);
  mkdir((t.Path() + "/b").c_str(), 0755);
  RunCases(t.Path() + "/a", t.Path() + "/b", true);
}

TEST(FileSystemMoveTest, AcrossFileSystemsCopiesThenDeletes) {
  testing::TemporaryFolder t;
  mkdir((t.Path() + "/a").c_str(), 0755);
  const PrivateDisk disk(t.Path() + "/disk", "1m");
  if (!disk.Why().empty()) GTEST_SKIP() << "no private tmpfs: " << disk.Why();
  for (const char* folder : {"/disk/ida", "/disk/volta", "/volta"}) mkdir((t.Path() + folder).c_str(), 0755);
  RunCases(t.Path() + "/a", t.Path() + "/disk/ida", false);
  // And back, onto the first file system.
  RunCases(t.Path() + "/disk/volta", t.Path() + "/volta", false);
}

// A copy that does not fit leaves the source whole and nothing beside the target.
TEST(FileSystemMoveTest, AFullDiskKeepsTheSource) {
  testing::TemporaryFolder t;
  const PrivateDisk disk(t.Path() + "/disk", "256k");
  if (!disk.Why().empty()) GTEST_SKIP() << "no private tmpfs: " << disk.Why();
  const std::string from = t.Path() + "/grande.bin", to = t.Path() + "/disk/grande.bin";
  const std::string bytes(1 << 20, 'g');
  Write(from, bytes);
  Write(to, "velho");
  std::u16string why;
  EXPECT_FALSE(SystemFileSystem().MoveFile(Utf8ToU16(from), Utf8ToU16(to), &why));
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(Read(from), bytes);
  EXPECT_EQ(Read(to), "velho");
  EXPECT_EQ(Entries(t.Path() + "/disk"), 1);
}

}  // namespace
}  // namespace zelmor::adapters
