// The program's resources written out: from the folder beside the program into
// real folders, with the previous file kept as ".old" and put back when a write fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "shell/shell.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "testing/recorded_dialogs.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using testing::FileTree;

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Write("bin/pdv.resources/RCDATA/LOGO", logo);
    t.Write("arquivo", "not a folder");
  }
  bool Extract(std::vector<std::string> folders, bool substitui, bool mostrarErro, const char16_t* tipo = u"RCDATA",
               const char16_t* res = u"LOGO") {
    TzelArrayString paths;
    for (const auto& f : folders) paths.push_back(f.empty() ? u"" : t.Path(f));
    return TmFile::ExtraiArquivoExe(tipo, res, u"logo.png", paths, substitui, mostrarErro);
  }

  FileTree t;
  testing::FixedProcessInfo process{t.Path("bin/pdv")};
  const std::string logo = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(3000, 'x');
};

TEST_F(ResourcesTest, EachFolderGetsTheResourceAndAFailedOneIsReported) {
  // The first folder cannot exist (a file is in the way); the second is created.
  EXPECT_FALSE(Extract({"arquivo/sub", "", "saida/imagens"}, true, false));
  EXPECT_TRUE(t.Read("saida/imagens/logo.png") == logo);
  EXPECT_FALSE(t.Exists("saida/imagens/logo.old"));

  // Type and name are found without regard to case; the new folder goes well.
  EXPECT_TRUE(Extract({"outra"}, true, false, u"rcdata", u"logo"));
  EXPECT_TRUE(t.Read("outra/logo.png") == logo);

  // Asked to show errors, the first failure ends the routine.
  try {
    Extract({"arquivo/sub", "terceira"}, true, true);
    ADD_FAILURE() << "no error";
  } catch (const EFileError&) {
  }
  EXPECT_FALSE(t.Exists("terceira"));
}

TEST_F(ResourcesTest, AnExistingFileIsKeptOrMovedToOld) {
  t.Write("saida/logo.png", "anterior");
  EXPECT_TRUE(Extract({"saida"}, false, false));
  EXPECT_EQ(t.Read("saida/logo.png"), "anterior");
  EXPECT_FALSE(t.Exists("saida/logo.old"));

  EXPECT_TRUE(Extract({"saida"}, true, false));
  EXPECT_TRUE(t.Read("saida/logo.png") == logo);
  EXPECT_EQ(t.Read("saida/logo.old"), "anterior");

  // The one-folder form; an older ".old" gives way to the file just replaced.
  t.Write("saida/logo.png", "segunda");
  EXPECT_TRUE(TmFile::ExtraiArquivoExe(u"RCDATA", u"LOGO", u"logo.png", t.Path("saida"), true));
  EXPECT_EQ(t.Read("saida/logo.old"), "segunda");
}

TEST_F(ResourcesTest, AMissingResourceIsRaisedBeforeAnythingIsWritten) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"RCDATA", u"NADA"}, {u"ICONE", u"LOGO"}, {u"", u"LOGO"}, {u"RCDATA", u""}};
  for (const auto& [tipo, res] : cases) {
    try {
      Extract({"saida"}, true, false, tipo, res);
      ADD_FAILURE() << "no error for " << U16ToUtf8(tipo) << "/" << U16ToUtf8(res);
    } catch (const EFileError& e) {
      EXPECT_EQ(e.Message(), u"Recurso " + std::u16string(res) + u" não encontrado");
    }
  }
  EXPECT_FALSE(t.Exists("saida"));
}

TEST_F(ResourcesTest, AFailedWriteBringsThePreviousFileBack) {
  // A child whose files may not grow past 1 KiB: the old file moves to ".old", the
  // 3 KiB resource cannot be written, the old file comes back.
  t.Write("saida/logo.png", "anterior");
  for (bool mostrarErro : {false, true}) {
    SCOPED_TRACE(mostrarErro);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit lim{1024, 1024};
      setrlimit(RLIMIT_FSIZE, &lim);
      int code = 0;
      try {
        if (Extract({"saida"}, true, mostrarErro)) code = 10;
        if (mostrarErro) code = 11;
      } catch (const EFileError&) {
        if (!mostrarErro) code = 12;
      }
      _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << " (10 true, 11 12 raised or not)";
    EXPECT_EQ(t.Read("saida/logo.png"), "anterior");
    EXPECT_FALSE(t.Exists("saida/logo.old"));
  }
}

TEST_F(ResourcesTest, ExtractResourceWritesNameDotTypeAndUnpacksZip) {
  testing::RecordedDialogs dialogs;
  // Into a folder made for it, without its separator; an older file is replaced.
  t.Write("out/a/LOGO.RCDATA", "anterior");
  TmRot::ExtractResource(u"RCDATA", u"LOGO", t.Path("out/a"), true, true);
  EXPECT_TRUE(t.Read("out/a/LOGO.RCDATA") == logo);
  TmRot::ExtractResource(u"RCDATA", u"LOGO", t.Path("out/b/c/"), false, true);
  EXPECT_TRUE(t.Read("out/b/c/LOGO.RCDATA") == logo);

  // A zip resource: unpacked beside it and then deleted, or kept as it is.
  t.Write("src/fonte.ttf", "glyphs");
  t.Write("src/leia.txt", "texto");
  TStringList files;
  files.Add(t.Path("src/fonte.ttf"));
  files.Add(t.Path("src/leia.txt"));
  t.Folder("bin/pdv.resources/ZIP");
  ASSERT_TRUE(TZip::Compactar(files, t.Path("bin/pdv.resources/ZIP/FONTES")));
  TmRot::ExtractResource(u"zip", u"FONTES", t.Path("fontes"), true, true);
  EXPECT_EQ(t.Names("fontes"), (std::vector<std::string>{"fonte.ttf", "leia.txt"}));
  EXPECT_EQ(t.Read("fontes/leia.txt"), "texto");
  TmRot::ExtractResource(u"ZIP", u"FONTES", t.Path("zipado"), false, true);
  EXPECT_EQ(t.Names("zipado"), std::vector<std::string>{"FONTES.ZIP"});
  EXPECT_EQ(dialogs.Messages, std::vector<std::u16string>{});
}

TEST_F(ResourcesTest, ExtractResourceFailures) {
  testing::RecordedDialogs dialogs;
  // A missing resource raises, and the file already there stays.
  t.Write("out/NADA.RCDATA", "anterior");
  EXPECT_THROW(TmRot::ExtractResource(u"RCDATA", u"NADA", t.Path("out"), false, true), EFileError);
  EXPECT_EQ(t.Read("out/NADA.RCDATA"), "anterior");

  const std::u16string failed = u"Não foi possivel extrair o arquivo \"LOGO.RCDATA\"";
  struct Case {
    const char* label;
    const char* folder;
    bool show;
  };
  for (const Case& c : {Case{"the old one cannot be deleted (a folder of that name)", "pasta", true},
                        Case{"the same, quietly", "pasta", false},
                        Case{"the folder cannot be made (a file is in the way)", "arquivo/sub", true},
                        Case{"the same, quietly", "arquivo/sub", false}}) {
    SCOPED_TRACE(c.label);
    t.Write("pasta/LOGO.RCDATA/dentro", "x");
    dialogs.Messages.clear();
    TmRot::ExtractResource(u"RCDATA", u"LOGO", t.Path(c.folder), false, c.show);
    EXPECT_EQ(dialogs.Messages, c.show ? std::vector<std::u16string>{failed} : std::vector<std::u16string>{});
    EXPECT_EQ(t.Read("pasta/LOGO.RCDATA/dentro"), "x");
  }
}

}  // namespace
}  // namespace zelmor
