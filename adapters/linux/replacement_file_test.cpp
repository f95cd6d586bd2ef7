#include "adapters/linux/replacement_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/posix_files.h"
#include "testing/temp_store.h"

namespace zelmor::adapters::posix {
namespace {

using Kind = ReplaceError::Kind;

constexpr uid_t kOther = 65534;  // nobody
constexpr uid_t kThird = 65533;

std::string Read(const std::string& path) {
  std::string bytes;
  ReadWhole(path, bytes);
  return bytes;
}

void Write(const std::string& path, const std::string& bytes, mode_t mode) {
  FileDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  ASSERT_TRUE(fd);
  ASSERT_TRUE(WriteAll(fd.Get(), bytes));
  ASSERT_EQ(fchmod(fd.Get(), mode), 0);
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  const OwnedFolder d(opendir(folder.c_str()));
  while (dirent* e = d ? readdir(d.get()) : nullptr)
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
  return names;
}

// Runs `body` in a child process as `uid` (group `gid`), and answers its exit code.
int AsUser(uid_t uid, gid_t gid, const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 || setresuid(uid, uid, uid) != 0) _exit(99);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

ReplaceError Replace(const std::string& path, const std::string& bytes, const ReplaceOptions& options = {}) {
  ReplacementFile file;
  ReplaceError e = file.Open(path, options);
  if (!e) e = file.Write(bytes);
  if (!e) e = file.Commit();
  return e;
}

class ReplacementFileTest : public ::testing::Test {
 protected:
  void SetUp() override { FOldMask = umask(022); }
  void TearDown() override { umask(FOldMask); }
  std::string At(const std::string& name) const { return Dir.Path() + "/" + name; }

  testing::TemporaryFolder Dir;
  mode_t FOldMask = 0;
};

// The rules, one row each: what the target is before, what the replacement asks,
// what it answers and what is left.
TEST_F(ReplacementFileTest, RulesOfTheTarget) {
  struct Case {
    const char* Name;
    mode_t Mode;  // 0: no file before
    ReadOnlyTarget ReadOnly;
    Kind Answer;
    mode_t ModeAfter;
    bool InFolder = false;  // opened as a name in a folder descriptor instead of a path
  };
  const Case cases[] = {
      {"new", 0, ReadOnlyTarget::Refuse, Kind::None, 0644},               // NewMode 0666 less the umask
      {"kept mode", 0640, ReadOnlyTarget::Refuse, Kind::None, 0640},      // the target's mode, not the new one
      {"set-id kept", 04750, ReadOnlyTarget::Refuse, Kind::None, 04750},  // after the owner, which clears it
      {"read-only refused", 0444, ReadOnlyTarget::Refuse, Kind::ReadOnly, 0444},
      {"owner bit decides", 0466, ReadOnlyTarget::Refuse, Kind::ReadOnly, 0466},
      {"read-only kept", 0444, ReadOnlyTarget::KeepReadOnly, Kind::None, 0444},
      {"writable with keep", 0600, ReadOnlyTarget::KeepReadOnly, Kind::None, 0600},
      {"new in folder", 0, ReadOnlyTarget::Refuse, Kind::None, 0644, true},
      {"kept mode in folder", 0640, ReadOnlyTarget::Refuse, Kind::None, 0640, true},
      {"read-only refused in folder", 0444, ReadOnlyTarget::Refuse, Kind::ReadOnly, 0444, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = At(c.Name);
    if (c.Mode != 0) Write(path, "old", c.Mode);
    ReplaceOptions options;
    options.ReadOnly = c.ReadOnly;
    ReplaceError e;
    if (c.InFolder) {
      const FileDescriptor folder(open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      ReplacementFile file;
      e = file.Open(folder.Get(), c.Name, options);
      if (!e) e = file.Write("new");
      if (!e) e = file.Commit();
    } else {
      e = Replace(path, "new", options);
    }
    EXPECT_EQ(e.What, c.Answer) << e.Reason();
    EXPECT_EQ(Read(path), c.Answer == Kind::None ? "new" : "old");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.ModeAfter);
  }
  EXPECT_EQ(Names(Dir.Path()).size(), std::size(cases)) << "a temporary file was left behind";
}

// The check a rename over a file shares with a replacement, one row per rule: the
// target, who asks, and the answer.
TEST_F(ReplacementFileTest, CheckTargetAnswersEachRule) {
  ASSERT_EQ(chmod(Dir.Path().c_str(), 0777), 0);
  const gid_t shared = 4321;
  enum class What { File, Pipe, Folder };
  struct Case {
    const char* Name;
    What Is;
    mode_t Mode;
    uid_t Owner;
    uid_t Asker;
    ReadOnlyTarget ReadOnly;
    Kind Answer;
    int Errno = 0;
  };
  const Case cases[] = {
      {"own file", What::File, 0644, kOther, kOther, ReadOnlyTarget::Refuse, Kind::None},
      {"pipe", What::Pipe, 0666, kOther, kOther, ReadOnlyTarget::Refuse, Kind::NotRegular},
      {"folder", What::Folder, 0777, kOther, kOther, ReadOnlyTarget::Refuse, Kind::NotRegular},
      {"read-only", What::File, 0444, kOther, kOther, ReadOnlyTarget::Refuse, Kind::ReadOnly},
      {"read-only for root", What::File, 0444, 0, 0, ReadOnlyTarget::Refuse, Kind::ReadOnly},
      {"read-only kept", What::File, 0444, kOther, kOther, ReadOnlyTarget::KeepReadOnly, Kind::None},
      {"not writable", What::File, 0644, kThird, kOther, ReadOnlyTarget::Refuse, Kind::System, EACCES},
      {"group-writable, another's", What::File, 0664, kThird, kOther, ReadOnlyTarget::Refuse, Kind::OtherOwner},
      {"another's, for root", What::File, 0644, kThird, 0, ReadOnlyTarget::Refuse, Kind::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = At(c.Name);
    if (c.Is == What::File) {
      Write(path, "old", c.Mode);
    } else {
      ASSERT_EQ(c.Is == What::Pipe ? mkfifo(path.c_str(), c.Mode) : mkdir(path.c_str(), c.Mode), 0);
    }
    ASSERT_EQ(chown(path.c_str(), c.Owner, shared), 0);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const FileDescriptor folder(open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(folder);
    // The answer, from whichever user asks, back through the exit code: its kind, and
    // whether it is EACCES (the only errno the rules give).
    auto code = [](Kind k, int err) { return static_cast<int>(k) * 2 + (err == EACCES ? 1 : 0); };
    EXPECT_EQ(AsUser(c.Asker, shared,
                     [&] {
                       const ReplaceError e = CheckTarget(st, folder.Get(), c.Name, c.ReadOnly);
                       return code(e.What, e.Errno);
                     }),
              code(c.Answer, c.Errno));
  }
}

TEST_F(ReplacementFileTest, NotARegularFileIsRefusedWithoutWaitingOnIt) {
  ASSERT_EQ(mkfifo(At("pipe").c_str(), 0644), 0);
  ASSERT_EQ(mkdir(At("folder").c_str(), 0755), 0);
  for (const char* name : {"pipe", "folder"}) {
    const ReplaceError e = Replace(At(name), "x");
    EXPECT_EQ(e.What, Kind::NotRegular) << name;
    EXPECT_EQ(e.Reason(), NotRegular(e.Mode));
  }
  EXPECT_EQ(Names(Dir.Path()), (std::set<std::string>{"pipe", "folder"}));
}

// The longest name a folder holds is replaced and created: the temporary name does
// not grow with it.
TEST_F(ReplacementFileTest, A255ByteNameIsReplacedAndCreated) {
  const std::string existing(255, 'a'), fresh = std::string(253, 'b') + "\xC3\xA7";
  Write(At(existing), "old", 0644);
  EXPECT_FALSE(Replace(At(existing), "new")) << Replace(At(existing), "new").Reason();
  EXPECT_EQ(Read(At(existing)), "new");
  EXPECT_FALSE(Replace(At(fresh), "new"));
  EXPECT_EQ(Read(At(fresh)), "new");
  EXPECT_EQ(Names(Dir.Path()), (std::set<std::string>{existing, fresh}));
}

TEST_F(ReplacementFileTest, LinksAreFollowedOrReplacedAsAsked) {
  Write(At("real"), "old", 0640);
  ASSERT_EQ(symlink("real", At("link").c_str()), 0);
  EXPECT_FALSE(Replace(At("link"), "through"));
  EXPECT_EQ(Read(At("real")), "through");
  struct stat st {};
  ASSERT_EQ(lstat(At("link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  ReplaceOptions options;
  options.FollowLinks = false;
  options.NewMode = 0600;
  EXPECT_FALSE(Replace(At("link"), "instead", options));
  ASSERT_EQ(lstat(At("link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(Read(At("link")), "instead");
  EXPECT_EQ(Read(At("real")), "through");

  // Through a folder descriptor the name is replaced, a link there included, and a
  // name with a separator is refused (it would walk the path).
  ASSERT_EQ(symlink("real", At("link2").c_str()), 0);
  const FileDescriptor folder(open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  for (const char* name : {"link2", "../escape"}) {
    ReplacementFile file;
    ReplaceError e = file.Open(folder.Get(), name);
    if (!e) e = file.Write("named");
    if (!e) e = file.Commit();
    EXPECT_EQ(static_cast<bool>(e), std::string(name) != "link2") << name;
  }
  ASSERT_EQ(lstat(At("link2").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(Read(At("link2")), "named");
  EXPECT_EQ(Read(At("real")), "through");
}

TEST_F(ReplacementFileTest, AReplacementNotCommittedLeavesNothing) {
  Write(At("kept"), "old", 0644);
  {
    ReplacementFile file;
    ASSERT_FALSE(file.Open(At("kept")));
    ASSERT_FALSE(file.Write("half"));
  }
  EXPECT_EQ(Read(At("kept")), "old");
  EXPECT_EQ(Names(Dir.Path()), std::set<std::string>{"kept"});
}

// A large file written piece by piece, its first megabytes handed to the disk while
// the rest is written: every byte arrives where it belongs, flushed or not, and an
// uncommitted one still leaves nothing.
TEST_F(ReplacementFileTest, PiecesAddUpWhateverTheirSizes) {
  struct Case {
    std::size_t Total, Piece;
    bool Flush, Commit;
  };
  const Case cases[] = {
      {0, 1, true, true},
      {(8u << 20) - 1, 65536, true, true},
      {(8u << 20) + 1, 262144, true, true},
      {(20u << 20) + 7, 16381, true, true},
      {(20u << 20) + 7, 1u << 20, false, true},
      {(12u << 20), 300000, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Total) + " in pieces of " + std::to_string(c.Piece));
    std::string bytes(c.Total, '\0');
    std::uint32_t x = static_cast<std::uint32_t>(c.Total) | 1;
    for (char& b : bytes) b = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    Write(At("f"), "old", 0644);
    {
      ReplacementFile file;
      ReplaceOptions options;
      options.Flush = c.Flush;
      ASSERT_FALSE(file.Open(At("f"), options));
      for (std::size_t at = 0; at < bytes.size(); at += c.Piece)
        ASSERT_FALSE(file.Write(std::string_view(bytes).substr(at, c.Piece)));
      if (c.Commit) {
        ASSERT_FALSE(file.Commit());
      }
    }
    EXPECT_TRUE(Read(At("f")) == (c.Commit ? bytes : "old"));
    EXPECT_EQ(Names(Dir.Path()), std::set<std::string>{"f"});
  }
}

TEST_F(ReplacementFileTest, TheDescriptorStaysOpenAfterCommit) {
  ReplacementFile file;
  ASSERT_FALSE(file.Open(At("f")));
  ASSERT_FALSE(file.Write("bytes"));
  ASSERT_FALSE(file.Commit());
  const FileDescriptor fd = file.TakeDescriptor();
  struct stat open {
  }, named{};
  ASSERT_EQ(fstat(fd.Get(), &open), 0);
  ASSERT_EQ(stat(At("f").c_str(), &named), 0);
  EXPECT_EQ(open.st_ino, named.st_ino);
  EXPECT_EQ(open.st_nlink, 1u);  // the short temporary name is gone
}

// A new file is absent under its name until it is whole, for root (who links the
// descriptor) and for a user (through /proc), by path and in a folder descriptor; a
// file someone else put under the name meanwhile is replaced, as an old one is.
TEST_F(ReplacementFileTest, ANewFileAppearsOnlyWhenWholeEvenIfTheNameIsTakenMeanwhile) {
  ASSERT_EQ(chmod(Dir.Path().c_str(), 0777), 0);
  for (const uid_t uid : {uid_t{0}, kOther}) {
    for (const bool taken : {false, true}) {
      for (const bool inFolder : {false, true}) {
        const std::string name = "n" + std::to_string(uid) + (taken ? "t" : "f") + (inFolder ? "d" : "p");
        SCOPED_TRACE(name);
        const int code = AsUser(uid, uid, [&] {
          const FileDescriptor folder(open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
          ReplacementFile file;
          if (inFolder ? file.Open(folder.Get(), name) : file.Open(At(name))) return 1;
          if (file.Write("whole")) return 2;
          if (access(At(name).c_str(), F_OK) == 0) return 3;  // seen before it was whole
          if (taken) {
            const FileDescriptor other(open(At(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
            if (!other || !WriteAll(other.Get(), "other")) return 4;
          }
          if (file.Commit()) return 5;
          return 0;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(Read(At(name)), "whole");
      }
    }
  }
  for (const std::string& name : Names(Dir.Path())) EXPECT_EQ(name[0], 'n') << "left behind: " << name;
}

TEST_F(ReplacementFileTest, CommitFromMovesAFinishedFileInWithTheTargetsMode) {
  Write(At("target"), "old", 0640);
  Write(At("download.part"), "new", 0600);
  ReplacementFile file;
  ASSERT_FALSE(file.Open(At("target")));
  ASSERT_FALSE(file.CommitFrom(At("download.part")));
  EXPECT_EQ(Read(At("target")), "new");
  struct stat st {};
  ASSERT_EQ(stat(At("target").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(Dir.Path()), std::set<std::string>{"target"});
}

// Owners: another user's file is never taken over; root keeps the owner; a user
// replaces their own files.
TEST_F(ReplacementFileTest, OwnersAreKeptAndAnotherUsersFileIsRefused) {
  ASSERT_EQ(chmod(Dir.Path().c_str(), 0777), 0);
  const gid_t shared = 4321;
  // A group-writable file of a third user, in a folder anyone may write.
  Write(At("theirs"), "old", 0664);
  ASSERT_EQ(chown(At("theirs").c_str(), kThird, shared), 0);
  Write(At("mine"), "old", 0644);
  ASSERT_EQ(chown(At("mine").c_str(), kOther, shared), 0);

  EXPECT_EQ(AsUser(kOther, shared, [&] { return static_cast<int>(Replace(At("theirs"), "new").What); }),
            static_cast<int>(Kind::OtherOwner));
  EXPECT_EQ(Read(At("theirs")), "old");
  EXPECT_EQ(AsUser(kOther, shared, [&] { return static_cast<int>(Replace(At("mine"), "new").What); }),
            static_cast<int>(Kind::None));
  EXPECT_EQ(Read(At("mine")), "new");
  // Read-only and kept read-only, by the owner who could make it writable anyway.
  ASSERT_EQ(chmod(At("mine").c_str(), 0444), 0);
  EXPECT_EQ(AsUser(kOther, shared,
                   [&] {
                     ReplaceOptions options;
                     options.ReadOnly = ReadOnlyTarget::KeepReadOnly;
                     return static_cast<int>(Replace(At("mine"), "newer", options).What);
                   }),
            static_cast<int>(Kind::None));
  EXPECT_EQ(Read(At("mine")), "newer");

  // Root (these tests' user) may give a file away, so the owner stays.
  EXPECT_FALSE(Replace(At("theirs"), "by root"));
  struct stat st {};
  ASSERT_EQ(stat(At("theirs").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kThird);
  EXPECT_EQ(st.st_gid, shared);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  ASSERT_EQ(stat(At("mine").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kOther);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(Names(Dir.Path()), (std::set<std::string>{"theirs", "mine"}));
}

TEST(FileDescriptor, ClosesOnceAndMovesOwnership) {
  int raw = -1;
  {
    FileDescriptor a(open("/dev/null", O_RDONLY | O_CLOEXEC));
    raw = a.Get();
    ASSERT_GE(raw, 0);
    FileDescriptor b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    FileDescriptor c;
    c = std::move(b);
    EXPECT_EQ(fcntl(raw, F_GETFD), FD_CLOEXEC);
  }
  EXPECT_EQ(fcntl(raw, F_GETFD), -1);
  EXPECT_EQ(errno, EBADF);

  FileDescriptor d(open("/dev/null", O_RDONLY | O_CLOEXEC));
  const int handed = d.Release();
  EXPECT_FALSE(d);
  EXPECT_EQ(fcntl(handed, F_GETFD), FD_CLOEXEC);  // still open: its new owner closes it
  EXPECT_EQ(FileDescriptor(handed).Close(), 0);
  EXPECT_EQ(fcntl(handed, F_GETFD), -1);
}

}  // namespace
}  // namespace zelmor::adapters::posix
