// The per-user registry store: its file format, and the file store on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "adapters/linux/registry_format.h"
#include "adapters/linux/registry_store_linux.h"
#include "core/errors.h"
#include "core/text.h"
#include "testing/temp_store.h"

namespace zelmor::adapters {
namespace {

using namespace platform;

using testing::TemporaryFolder;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// ---- The file format ----

TEST(RegistryFormat, EveryTypeAndAwkwardTextSurviveARoundTrip) {
  const std::u16string awkward = u"quote \" backslash \\ tab\t new\r\nline \x01\x7F ção € 😀 lone \xD800 end";
  regfile::Key root{u"HKEY_CURRENT_USER", {}, {}};
  regfile::Key* k = regfile::FindOrCreate(root, regfile::SplitPath(u"\\Software\\Zelmor\\Test\\"));
  const std::pair<std::u16string, RegValue> values[] = {
      {u"Text", RegValue::OfString(awkward)},
      {u"", RegValue::OfString(u"the unnamed value")},
      {u"Empty", RegValue::OfString(u"")},
      {u"Path", RegValue::OfString(u"%HOME%\\bin", RegType::ExpandString)},
      {u"List", RegValue::OfMulti({u"one", u"", u"three, \"quoted\""})},
      {u"NoItems", RegValue::OfMulti({})},
      {u"Count", RegValue::OfDWord(0xFFFFFED4u)},
      {u"Big", RegValue::OfQWord(0x0123456789ABCDEFull)},
      {u"Ratio", RegValue::OfBinary(std::string("\0\0\0\0\0\0\x04\x40", 8))},
      {u"NoBytes", RegValue::OfBinary("")},
      {awkward, RegValue::OfDWord(7)},
  };
  for (const auto& [name, value] : values) regfile::SetValue(*k, name, value);
  regfile::FindOrCreate(root, regfile::SplitPath(u"Empty\\Key"));

  const std::string text = regfile::Serialize(root);
  EXPECT_EQ(text.rfind("Zelmor Registry Version 2\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 23), "End of Zelmor Registry\n");
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Zelmor\\Test]\n"), std::string::npos) << text;
  // Controls and the lone half escaped, the rest (a pair included) as UTF-8.
  EXPECT_NE(text.find("\"Text\"=\"quote \\\" backslash \\\\ tab\\t new\\r\\nline \\u0001\\u007f ção € 😀 lone "
                      "\\ud800 end\"\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"Count\"=dword:fffffed4\n"), std::string::npos);
  EXPECT_NE(text.find("\"Ratio\"=hex:00,00,00,00,00,00,04,40\n"), std::string::npos);
  EXPECT_NE(text.find("@=\"the unnamed value\"\n"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Empty\\Key]\n"), std::string::npos);

  const regfile::Key back = regfile::Parse(text);
  const regfile::Key* bk = regfile::Find(back, regfile::SplitPath(u"software\\ZELMOR\\test"));
  ASSERT_NE(bk, nullptr);
  EXPECT_EQ(bk->Name, u"Test");
  ASSERT_EQ(bk->Values.size(), std::size(values));
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(bk->Values[i].first, values[i].first) << i;
    EXPECT_EQ(bk->Values[i].second, values[i].second) << i;
  }
  EXPECT_NE(regfile::Find(back, regfile::SplitPath(u"Empty\\Key")), nullptr);
  EXPECT_EQ(regfile::Serialize(back), text);
}

TEST(RegistryFormat, HandWrittenFilesAreReadLeniently) {
  const std::string text =
      "\xEF\xBB\xBF; written by hand\r\n"
      "Zelmor Registry Version 1\r\n"
      "\r\n"
      "  ; a comment\r\n"
      "[HKCU\\A]\r\n"
      "\"x\" = dword:2a\r\n"
      "\"X\"=\"later line wins\"\r\n"
      "[hkey_current_user\\a\\B]   \r\n"
      "\"m\"=multi: \"1\" , \"2\"\r\n";
  const regfile::Key root = regfile::Parse(text);
  const regfile::Key* a = regfile::Find(root, regfile::SplitPath(u"A"));
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->Values.size(), 1u);
  EXPECT_EQ(a->Values[0].first, u"x");
  EXPECT_EQ(a->Values[0].second, RegValue::OfString(u"later line wins"));
  const regfile::Key* b = regfile::Find(root, regfile::SplitPath(u"A\\b"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(*b->Value(u"M"), RegValue::OfMulti({u"1", u"2"}));
  EXPECT_TRUE(regfile::Parse("").SubKeys.empty());
  EXPECT_TRUE(regfile::Parse("\n  \n; only a comment\n").SubKeys.empty());
}

TEST(RegistryFormat, DamagedFilesAreReportedWithTheLine) {
  const std::string sig = "Zelmor Registry Version 1\n";
  const struct {
    std::string text;
    int line;
  } cases[] = {
      {"something else\n", 1},
      {sig + "\"x\"=\"before any key\"\n", 2},
      {sig + "[HKEY_LOCAL_MACHINE\\A]\n", 2},
      {sig + "[HKEY_CURRENT_USER\\A\n", 2},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"not closed\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:0,1\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=float:1.5\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"a\" trailing\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"bad \\q escape\"\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\nx=\"no quotes on the name\"\n", 3},
      {sig + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"\xC3\x28\"\n", 3},  // not UTF-8
      {sig + "\n\n[HKEY_CURRENT_USER\\A]\n\"x\"\"y\"\n", 5},
      // Version 2 must end with its closing line: a file cut short at a line end is damaged.
      {"Zelmor Registry Version 2\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:0\n", 4},
      {"Zelmor Registry Version 2\n[HKEY_CURRENT_USER\\A]\nEnd of Zelmor Registry\n\"x\"=dword:0\n", 4},
      {sig + "[HKEY_CURRENT_USER" +
           [] {
             std::string levels;
             for (int i = 0; i < 513; ++i) levels += "\\k";
             return levels;
           }() +
           "]\n",
       2},
  };
  for (const auto& c : cases) {
    try {
      regfile::Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const regfile::FormatError& e) {
      EXPECT_EQ(e.Line, c.line) << c.text << " — " << e.what();
    }
  }
}

// ---- The file store ----

class FileStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder.Path() + "/cfg/zelmor/registry.reg"; }
  std::unique_ptr<RegistryStore> Open() { return OpenRegistryFile(Utf8ToU16(Path())); }
  TemporaryFolder folder;
};

TEST_F(FileStoreTest, ValuesAreWrittenReadReplacedAndDeleted) {
  auto s = Open();
  EXPECT_FALSE(s->ReadValue(u"Software\\A", u"x").has_value());
  EXPECT_FALSE(s->KeyExists(u"Software\\A"));
  EXPECT_NE(access(Path().c_str(), F_OK), 0) << "reading must not create the file";

  s->WriteValue(u"\\Software\\A\\", u"x", RegValue::OfDWord(5));
  EXPECT_TRUE(s->KeyExists(u"SOFTWARE\\a"));
  EXPECT_EQ(s->ReadValue(u"software\\A", u"X"), RegValue::OfDWord(5));
  s->WriteValue(u"Software\\A", u"X", RegValue::OfString(u"now text"));  // any type replaces any type
  EXPECT_EQ(s->ReadValue(u"Software\\A", u"x"), RegValue::OfString(u"now text"));

  auto listing = s->ListKey(u"software\\a");
  ASSERT_TRUE(listing.has_value());
  EXPECT_EQ(listing->Path, u"Software\\A");
  ASSERT_EQ(listing->Values.size(), 1u);
  EXPECT_EQ(listing->Values[0].first, u"x");  // the first writer's spelling

  EXPECT_TRUE(s->DeleteValue(u"Software\\A", u"x"));
  EXPECT_FALSE(s->DeleteValue(u"Software\\A", u"x"));
  EXPECT_TRUE(s->KeyExists(u"Software\\A"));
  EXPECT_TRUE(s->DeleteKey(u"Software"));
  EXPECT_FALSE(s->KeyExists(u"Software\\A"));
  EXPECT_FALSE(s->DeleteKey(u"Software"));

  struct stat st {};
  ASSERT_EQ(stat(Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(FileStoreTest, ANewHiveHasTheRegionalSettingsKey) {
  auto s = Open();
  EXPECT_TRUE(s->KeyExists(u"Control Panel\\International"));
  s->WriteValue(u"A", u"x", RegValue::OfDWord(1));
  EXPECT_NE(ReadBytes(Path()).find("[HKEY_CURRENT_USER\\Control Panel\\International]"), std::string::npos);
}

TEST_F(FileStoreTest, ChangesByOtherWritersAreSeenAndKept) {
  auto a = Open();
  auto b = Open();
  a->WriteValue(u"K", u"a", RegValue::OfDWord(1));
  EXPECT_EQ(b->ReadValue(u"K", u"a"), RegValue::OfDWord(1));
  b->WriteValue(u"K", u"b", RegValue::OfDWord(2));
  a->WriteValue(u"K", u"c", RegValue::OfDWord(3));  // a's cached copy is stale: it must read again
  for (auto* s : {a.get(), b.get()}) {
    EXPECT_EQ(s->ReadValue(u"K", u"a"), RegValue::OfDWord(1));
    EXPECT_EQ(s->ReadValue(u"K", u"b"), RegValue::OfDWord(2));
    EXPECT_EQ(s->ReadValue(u"K", u"c"), RegValue::OfDWord(3));
  }
  // An edit in place by hand (same file, same size) is noticed too.
  std::string text = ReadBytes(Path());
  const std::size_t at = text.find("dword:00000003");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 14, "dword:00000009");
  {
    std::fstream f(Path(), std::ios::binary | std::ios::in | std::ios::out);
    f << text;
  }
  struct timespec later[2] = {{0, UTIME_OMIT}, {time(nullptr) + 5, 0}};
  utimensat(AT_FDCWD, Path().c_str(), later, 0);  // an editor that saves within the same clock tick
  EXPECT_EQ(a->ReadValue(u"K", u"c"), RegValue::OfDWord(9));
}

TEST_F(FileStoreTest, ThreadsWritingAtOnceAllKeepTheirValues) {
  auto s = Open();
  constexpr int kThreads = 4, kEach = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      auto own = Open();  // one store per thread: the file lock is what serialises them
      for (int i = 0; i < kEach; ++i)
        own->WriteValue(u"T", u"t" + IntToStr(t) + u"_" + IntToStr(i),
                        RegValue::OfDWord(static_cast<std::uint32_t>(i)));
    });
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kEach; ++i)
      EXPECT_EQ(s->ReadValue(u"T", u"t" + IntToStr(t) + u"_" + IntToStr(i)),
                RegValue::OfDWord(static_cast<std::uint32_t>(i)));
}

TEST_F(FileStoreTest, ADamagedFileIsReportedAndNeverReplaced) {
  auto s = Open();
  s->WriteValue(u"A", u"x", RegValue::OfDWord(1));
  const std::string damaged = ReadBytes(Path()) + "\"stray\"=dword:zz\n";
  WriteBytes(Path(), damaged);
  for (int op = 0; op < 4; ++op) {
    try {
      switch (op) {
        case 0: s->ReadValue(u"A", u"x"); break;
        case 1: s->WriteValue(u"A", u"y", RegValue::OfDWord(2)); break;
        case 2: s->DeleteValue(u"A", u"x"); break;
        case 3: s->CreateKey(u"B"); break;
      }
      ADD_FAILURE() << "operation " << op << " did not report the damage";
    } catch (const ERegistryError& e) {
      const std::string m = e.what();
      EXPECT_NE(m.find(Path()), std::string::npos) << m;
      EXPECT_NE(m.find("danificado"), std::string::npos) << m;
      EXPECT_NE(m.find("linha "), std::string::npos) << m;
    }
    EXPECT_EQ(ReadBytes(Path()), damaged);
  }
}

TEST_F(FileStoreTest, ASymbolicLinkIsFollowedNotReplaced) {
  auto s = Open();
  s->WriteValue(u"A", u"x", RegValue::OfDWord(1));
  const std::string real = folder.Path() + "/dotfiles-registry.reg";
  ASSERT_EQ(rename(Path().c_str(), real.c_str()), 0);
  ASSERT_EQ(symlink(real.c_str(), Path().c_str()), 0);
  s->WriteValue(u"A", u"y", RegValue::OfDWord(2));
  struct stat st {};
  ASSERT_EQ(lstat(Path().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  auto fresh = OpenRegistryFile(Utf8ToU16(real));
  EXPECT_EQ(fresh->ReadValue(u"A", u"x"), RegValue::OfDWord(1));
  EXPECT_EQ(fresh->ReadValue(u"A", u"y"), RegValue::OfDWord(2));
}

TEST_F(FileStoreTest, AStoreThatCannotBeReadIsReported) {
  std::filesystem::create_directories(Path());  // a folder where the file should be
  auto s = Open();
  try {
    s->ReadValue(u"A", u"x");
    ADD_FAILURE();
  } catch (const ERegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("Não foi possível ler o registro do usuário \"" + Path()), std::string::npos)
        << e.what();
  }
  EXPECT_THROW(s->WriteValue(u"A", u"x", RegValue::OfDWord(1)), ERegistryError);
}

TEST_F(FileStoreTest, UnusableKeyNamesAreRefused) {
  auto s = Open();
  EXPECT_THROW(s->WriteValue(u"A\\" + std::u16string(256, u'k'), u"x", RegValue::OfDWord(1)), ERegistryError);
  EXPECT_THROW(s->CreateKey(u"A\\new\nline"), ERegistryError);
  s->CreateKey(u"A\\" + std::u16string(255, u'k'));
  EXPECT_TRUE(s->KeyExists(u"A\\" + std::u16string(255, u'K')));
}

TEST(RegistryLocation, FollowsXdgConfigHome) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  } saved[] = {{"XDG_CONFIG_HOME", {}}, {"HOME", {}}};
  for (auto& v : saved)
    if (const char* old = std::getenv(v.name)) v.value = old;
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_CONFIG_HOME", "/tmp/cfg/", 1);
  EXPECT_EQ(DefaultRegistryFile(), u"/tmp/cfg/zelmor/registry.reg");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(DefaultRegistryFile(), u"/home/someone/.config/zelmor/registry.reg");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultRegistryFile(), u"/home/someone/.config/zelmor/registry.reg");
  for (auto& v : saved) {
    if (v.value)
      setenv(v.name, v.value->c_str(), 1);
    else
      unsetenv(v.name);
  }
}

}  // namespace
}  // namespace zelmor::adapters
