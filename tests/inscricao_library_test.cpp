// The outside state-registration library end to end: a stand-in library built by the
// project, served by a real HTTP server on the loopback, downloaded into the program's
// folder, loaded and called.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <dlfcn.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "core/text.h"
#include "platform/shared_library.h"
#include "strings/mString.h"
#include "strings/state_registration_library.h"
#include "testing/fixtures.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class TempDir {
 public:
  TempDir() {
    std::string t = (fs::temp_directory_path() / "zelmor-ie-XXXXXX").string();
    if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp");
    FPath = t;
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

// Sets an environment variable for the life of the object, then restores it.
class EnvVar {
 public:
  EnvVar(const char* name, const std::optional<std::string>& value) : FName(name) {
    if (const char* old = getenv(name)) FOld = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~EnvVar() {
    if (FOld)
      setenv(FName, FOld->c_str(), 1);
    else
      unsetenv(FName);
  }

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// Python's own HTTP server, serving `root` on 127.0.0.1.
class HttpServer {
 public:
  explicit HttpServer(const fs::path& root) : FPort(FreePort()) {
    FProcess = std::make_unique<ChildProcess>(
        "/usr/bin/python3", std::vector<std::string>{"-u", "-m", "http.server", std::to_string(FPort), "--bind",
                                                     "127.0.0.1", "--directory", root.string()});
    std::string line;
    // It announces itself once it listens.
    if (!FProcess->ReadLine(line, 20s) || line.find("Serving HTTP") == std::string::npos)
      throw std::runtime_error("http.server did not start: " + FProcess->Err());
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(FPort); }
  std::string Log() { return FProcess->Err(); }
  void Stop() { FProcess->Kill(); }

 private:
  int FPort;
  std::unique_ptr<ChildProcess> FProcess;
};

class InscricaoLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    // The library on the server, at the path the program asks for.
    const fs::path onServer = serverRoot.Path() / "files" / "download" / "DllInscE32.dll";
    fs::create_directories(onServer.parent_path());
    fs::copy_file(ZELMOR_FAKE_INSCRICAO_LIBRARY, onServer);
    program = std::make_unique<FixedProcessInfo>(Utf8ToU16((programDir.Path() / "zelmor").string()));
  }

  fs::path LibraryFile() const { return programDir.Path() / "DllInscE32.Dll"; }

  TempDir serverRoot;
  TempDir programDir;
  std::unique_ptr<FixedProcessInfo> program;
};

TEST_F(InscricaoLibrary, DownloadedOnFirstUseThenLoadedAndCalled) {
  HttpServer server(serverRoot.Path());
  EnvVar host(kInscricaoLibraryHostVariable, server.Base());
  ASSERT_FALSE(fs::exists(LibraryFile()));

  // Digits adding up to an even number: valid.
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110.042.490.115", u"SP"), u"");
  ASSERT_TRUE(fs::exists(LibraryFile()));
  EXPECT_EQ(fs::file_size(LibraryFile()), fs::file_size(ZELMOR_FAKE_INSCRICAO_LIBRARY));
  EXPECT_NE(server.Log().find("GET /files/download/DllInscE32.dll"), std::string::npos) << server.Log();

  // The library got the digits only, and the state as 8-bit text.
  void* self = dlopen(LibraryFile().c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(self, nullptr) << "the library is loaded";
  auto ultimos = reinterpret_cast<const char* (*)()>(dlsym(self, "UltimosArgumentos"));
  ASSERT_NE(ultimos, nullptr);
  EXPECT_STREQ(ultimos(), "110042490115|SP");

  // Odd: invalid for that state; a state of three characters: bad parameters.
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110.042.490.114", u"SP"), u"Inscrição inválida para SP");
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110042490114", u"SPX"), u"Parâmetros inválidos");
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"", u"SP"), u"Parâmetros inválidos");
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"22", u"S\u00C3"), u"");
  EXPECT_STREQ(ultimos(), "22|S\xC3");  // Windows-1252
  dlclose(self);

  // Once in the folder the file stays and is used without the server.
  server.Stop();
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"11", u"MG"), u"");
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"12", u"MG"), u"Inscrição inválida para MG");
}

TEST_F(InscricaoLibrary, ServerWithoutTheFileIsAFailedDownload) {
  fs::remove_all(serverRoot.Path() / "files");
  HttpServer server(serverRoot.Path());
  EnvVar host(kInscricaoLibraryHostVariable, server.Base());
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110042490115", u"SP"),
            Utf8ToU16("Erro ao baixar o arquivo " + server.Base() + "/files/download/DllInscE32.dll"));
  EXPECT_NE(server.Log().find(" 404 "), std::string::npos) << server.Log();
  // Nothing was left behind: no library file and no partial download.
  EXPECT_TRUE(fs::is_empty(programDir.Path()));
}

TEST_F(InscricaoLibrary, UnreachableServerIsAFailedDownload) {
  const std::string base = "http://127.0.0.1:" + std::to_string(FreePort());  // nobody listens there
  EnvVar host(kInscricaoLibraryHostVariable, base + "/");
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110042490115", u"SP"),
            Utf8ToU16("Erro ao baixar o arquivo " + base + "/files/download/DllInscE32.dll"));
  EXPECT_TRUE(fs::is_empty(programDir.Path()));
}

TEST_F(InscricaoLibrary, HostFromTheProgramsConfigurationFile) {
  HttpServer server(serverRoot.Path());
  EnvVar host(kInscricaoLibraryHostVariable, std::nullopt);
  std::ofstream(programDir.Path() / "zelmor.ini") << "[Sintegra]\r\nHost=" << server.Base() << "\r\n";
  EXPECT_EQ(InscricaoLibraryHost(), Utf8ToU16(server.Base()));
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110.042.490.115", u"SP"), u"");
  EXPECT_TRUE(fs::exists(LibraryFile()));
  {
    // The environment, when set, wins over the file.
    EnvVar other(kInscricaoLibraryHostVariable, "downloads.example.com");
    EXPECT_EQ(InscricaoLibraryHost(), u"downloads.example.com");
  }
}

TEST_F(InscricaoLibrary, NoHostConfiguredIsAFailedDownload) {
  EnvVar host(kInscricaoLibraryHostVariable, std::nullopt);
  EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(u"110042490115", u"SP"),
            u"Erro ao baixar o arquivo /files/download/DllInscE32.dll");
  EXPECT_TRUE(fs::is_empty(programDir.Path()));
}

TEST_F(InscricaoLibrary, IsentoNeedsNoLibrary) {
  EnvVar host(kInscricaoLibraryHostVariable, std::nullopt);
  for (const char16_t* ie : {u"ISENTO", u" isento ", u"Isento"})
    EXPECT_EQ(TmStr::ValidarInscricaoDLLSintegra(ie, u"SP"), u"");
  EXPECT_TRUE(fs::is_empty(programDir.Path()));
  // Only the word itself: anything more goes to the library (here: cannot be had).
  EXPECT_NE(TmStr::ValidarInscricaoDLLSintegra(u"ISENTO 1", u"SP"), u"");
}

TEST_F(InscricaoLibrary, AFileThatIsNotALibraryRaises) {
  EnvVar host(kInscricaoLibraryHostVariable, std::nullopt);
  std::ofstream(LibraryFile()) << "not a library";
  EXPECT_THROW(TmStr::ValidarInscricaoDLLSintegra(u"110042490115", u"SP"), platform::ESharedLibraryError);
}

TEST_F(InscricaoLibrary, DownloadAddress) {
  {
    EnvVar host(kInscricaoLibraryHostVariable, "downloads.example.com");
    EXPECT_EQ(InscricaoLibraryUrl(), u"https://downloads.example.com/files/download/DllInscE32.dll");
  }
  {
    EnvVar host(kInscricaoLibraryHostVariable, " http://127.0.0.1:8080// ");
    EXPECT_EQ(InscricaoLibraryUrl(), u"http://127.0.0.1:8080/files/download/DllInscE32.dll");
  }
}

}  // namespace
}  // namespace zelmor::testing
