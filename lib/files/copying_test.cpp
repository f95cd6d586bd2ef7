#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;
using Names = std::vector<std::string>;

TEST(CopyTest, OneFileIntoAFolder) {
  FileTree t;
  t.Write("in/nota.xml", "nota", 1000000000);
  t.Write("in/a.xml.xml", "a");
  t.Write("in/semext", "s");
  t.Write("in/.oculto", "h");
  t.Folder("out");
  EXPECT_FALSE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("falta"), u"", true));
  EXPECT_FALSE(t.Exists("falta"));
  ASSERT_TRUE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out"), u"", true));
  EXPECT_EQ(t.Read("out/nota.xml"), "nota");
  EXPECT_EQ(t.ModifiedAt("out/nota.xml"), 1000000000);  // the copy keeps the time
  ASSERT_TRUE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out/"), u"_old", true));
  ASSERT_TRUE(TmFile::CopiarArquivo(t.Path("in/a.xml.xml"), t.Path("out"), u"_1", true));
  ASSERT_TRUE(TmFile::CopiarArquivo(t.Path("in/semext"), t.Path("out"), u"_2", true));
  EXPECT_FALSE(TmFile::CopiarArquivo(t.Path("in/.oculto"), t.Path("out"), u"", true));  // hidden: not a file to copy
  EXPECT_EQ(t.Names("out"), (Names{"a_1.xml", "nota.xml", "nota_old.xml", "semext_2"}));

  // Replacing: by default yes, keeping the source's permissions; not when told not
  // to, and never a read-only destination.
  t.Write("in/nota.xml", "nova");
  t.ReadOnly("in/nota.xml");
  ASSERT_TRUE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out"), u"", true));
  EXPECT_EQ(t.Read("out/nota.xml"), "nova");
  EXPECT_EQ(t.Mode("out/nota.xml") & 0222, 0u);
  t.ReadOnly("in/nota.xml", false);
  t.Write("in/nota.xml", "outra");
  EXPECT_FALSE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out"), u"", true));
  EXPECT_EQ(t.Read("out/nota.xml"), "nova");
  EXPECT_FALSE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out"), u"_old", false));
  EXPECT_EQ(t.Read("out/nota_old.xml"), "nota");
  EXPECT_TRUE(TmFile::CopiarArquivo(t.Path("in/nota.xml"), t.Path("out"), u"_novo", false));

  EXPECT_FALSE(TmFile::CopiarArquivoRenomeandoDestino(t.Path("in/nota.xml"), t.Path("falta/x.xml")));
  EXPECT_FALSE(TmFile::CopiarArquivoRenomeandoDestino(t.Path("in/falta.xml"), t.Path("out/x.xml")));
  ASSERT_TRUE(TmFile::CopiarArquivoRenomeandoDestino(t.Path("in/nota.xml"), t.Path("out/x.xml")));
  ASSERT_TRUE(TmFile::CopiarArquivoRenomeandoDestino(t.Path("in/semext"), t.Path("out/x.xml")));
  EXPECT_EQ(t.Read("out/x.xml"), "s");
}

TEST(CopyTest, MasksStopAtTheFirstFailure) {
  testing::RecordedDialogs dialogs;
  FileTree t;
  for (const char* n : {"in/a.txt", "in/b.txt", "in/c.txt", "in/d.dat"}) t.Write(n, n);
  t.Write("out/b.txt", "ro");
  t.ReadOnly("out/b.txt");
  EXPECT_FALSE(TmFile::CopiarArquivos(t.Path("in/*.txt"), t.Path("out")));
  EXPECT_EQ(t.Names("out"), (Names{"a.txt", "b.txt"}));
  EXPECT_FALSE(TmFile::CopiarArquivos(t.Path("in/*.xml"), t.Path("out")));
  EXPECT_TRUE(TmFile::CopiarArquivos(t.Path("in/*.dat"), t.Path("out")));
  EXPECT_GE(dialogs.BusyBegins, 3);
  EXPECT_EQ(dialogs.BusyDepth, 0);
}

// What a mask may match beside files: a pipe is refused without waiting for a
// writer, and the longest name a folder holds is copied (its temporary name is short).
TEST(CopyTest, PipesAreRefusedAndLongNamesCopied) {
  FileTree t;
  t.Write("in/a.txt", "a");
  t.Folder("out");
  bool copied = true;
  EXPECT_FALSE(t.WaitedOnPipe("in/b.txt", [&] { copied = TmFile::CopiarArquivos(t.Path("in/*.txt"), t.Path("out")); }));
  EXPECT_FALSE(copied);
  EXPECT_EQ(t.Names("out"), Names{"a.txt"});

  const std::string longName = std::string(244, 'n') + ".txt";
  t.Write("long/" + longName, "longo");
  ASSERT_TRUE(TmFile::CopiarArquivos(t.Path("long/*.txt"), t.Path("out")));
  ASSERT_TRUE(TmFile::CopiarArquivos(t.Path("long/*.txt"), t.Path("out")));  // over itself
  EXPECT_EQ(t.Read("out/" + longName), "longo");
  EXPECT_EQ(t.Names("out"), (Names{"a.txt", longName}));
}

TEST(CopyTest, WholeFolders) {
  FileTree t;
  t.Write("src/a.txt", "a", 1000000000);
  t.Write("src/.h", "h");
  t.Write("src/sub/b.txt", "b");
  t.Link("src/sub/volta", "..");  // a loop
  // Into a folder that exists: the copy lands inside it.
  t.Folder("existe");
  ASSERT_TRUE(TmFile::CopiarPasta(t.Path("src"), t.Path("existe")));
  EXPECT_EQ(t.Read("existe/src/sub/b.txt"), "b");
  EXPECT_EQ(t.Read("existe/src/.h"), "h");
  EXPECT_EQ(t.ModifiedAt("existe/src/a.txt"), 1000000000);
  EXPECT_EQ(t.Names("existe/src/sub"), (Names{"b.txt"}));  // the loop is followed once: it leads back to src
  // To a name that does not exist: the copy becomes it, missing folders made.
  ASSERT_TRUE(TmFile::CopiarPasta(t.Path("src/"), t.Path("novo/copia")));
  EXPECT_EQ(t.Names("novo/copia"), (Names{".h", "a.txt", "sub"}));
  // Existing files are replaced; a mask copies what matches, folders too.
  t.Write("src/a.txt", "a2");
  ASSERT_TRUE(TmFile::CopiarPasta(t.Path("src/*.txt"), t.Path("novo/copia")));
  EXPECT_EQ(t.Read("novo/copia/a.txt"), "a2");
  ASSERT_TRUE(TmFile::CopiarPasta(t.Path("src/s*"), t.Path("mascara")));
  EXPECT_EQ(t.Names("mascara"), (Names{"sub"}));
  // A folder copied into itself ends.
  ASSERT_TRUE(TmFile::CopiarPasta(t.Path("src"), t.Path("src/dentro")));
  EXPECT_EQ(t.Names("src/dentro"), (Names{".h", "a.txt", "sub"}));
  EXPECT_FALSE(TmFile::CopiarPasta(t.Path("falta"), t.Path("x")));
  EXPECT_FALSE(t.Exists("x"));
}

TEST(MoveTest, MovingFiles) {
  FileTree t;
  t.Write("a.txt", "a");
  EXPECT_TRUE(TmFile::MoverArquivo(t.Path("falta.txt"), t.Path("out"), false));  // nothing to move
  EXPECT_FALSE(TmFile::MoverArquivo(t.Path("a.txt"), t.Path("out"), false));
  EXPECT_TRUE(t.Exists("a.txt"));
  ASSERT_TRUE(TmFile::MoverArquivo(t.Path("a.txt"), t.Path("out/sub"), true));
  EXPECT_FALSE(t.Exists("a.txt"));
  EXPECT_EQ(t.Read("out/sub/a.txt"), "a");
  // A read-only file is copied but cannot be deleted: the move fails and the source stays.
  t.Write("ro.txt", "r");
  t.ReadOnly("ro.txt");
  EXPECT_FALSE(TmFile::MoverArquivo(t.Path("ro.txt"), t.Path("out"), false));
  EXPECT_TRUE(t.Exists("ro.txt"));

  t.Write("n.txt", "n");
  t.Write("existe.txt", "e");
  EXPECT_FALSE(TmFile::MoverArquivoNome(t.Path("n.txt"), t.Path("existe.txt")));
  EXPECT_EQ(t.Read("n.txt"), "n");
  EXPECT_EQ(t.Read("existe.txt"), "e");
  ASSERT_TRUE(TmFile::MoverArquivoNome(t.Path("n.txt"), t.Path("x/y/m.txt")));
  EXPECT_EQ(t.Read("x/y/m.txt"), "n");
  EXPECT_FALSE(TmFile::MoverArquivoNome(t.Path("falta"), t.Path("x/z")));
  try {
    TmFile::MoverArquivoNome(t.Path("existe.txt"), u"sem-pasta.txt");
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), u"Unable to create directory");
  }

  for (const char* n : {"m/a.xml", "m/b.xml", "m/c.txt"}) t.Write(n, n);
  ASSERT_TRUE(TmFile::MoverArquivos(t.Path("m/*.xml"), t.Path("dest"), true));
  EXPECT_EQ(t.Names("m"), (Names{"c.txt"}));
  EXPECT_EQ(t.Names("dest"), (Names{"a.xml", "b.xml"}));
  EXPECT_FALSE(TmFile::MoverArquivos(t.Path("m/*.xml"), t.Path("dest"), true));
}

// MoverArquivos case by case: what it answers and what is where afterwards. Sources
// are m/*.xml, the destination folder is dest.
struct MoveCase {
  const char* Name;
  std::function<void(const FileTree&)> Prepare;
  bool Moved;
  Names Left;                                                 // in m
  Names Arrived;                                              // in dest
  std::vector<std::pair<const char*, const char*>> Contents;  // file, bytes
};

TEST(MoveTest, MovingByMaskCaseByCase) {
  const MoveCase cases[] = {
      {"into an empty folder",
       [](const FileTree& t) {
         t.Write("m/a.xml", "a", 1000000000);
         t.Write("m/b.xml", "b");
         t.Write("m/c.txt", "c");
         t.Folder("dest");
       },
       true,
       {"c.txt"},
       {"a.xml", "b.xml"},
       {{"dest/a.xml", "a"}, {"dest/b.xml", "b"}}},
      {"over older files",
       [](const FileTree& t) {
         t.Write("m/a.xml", "novo");
         t.Write("dest/a.xml", "velho");
       },
       true,
       {},
       {"a.xml"},
       {{"dest/a.xml", "novo"}}},
      {"a read-only destination stops it; later files stay",
       [](const FileTree& t) {
         for (const char* n : {"m/a.xml", "m/b.xml", "m/c.xml"}) t.Write(n, "novo");
         t.Write("dest/b.xml", "velho");
         t.ReadOnly("dest/b.xml");
       },
       false,
       {"b.xml", "c.xml"},
       {"a.xml", "b.xml"},
       {{"dest/b.xml", "velho"}, {"m/b.xml", "novo"}}},
      {"a read-only source is copied and stays",
       [](const FileTree& t) {
         t.Write("m/a.xml", "a");
         t.ReadOnly("m/a.xml");
         t.Folder("dest");
       },
       false,
       {"a.xml"},
       {"a.xml"},
       {{"dest/a.xml", "a"}, {"m/a.xml", "a"}}},
      {"a link's file is copied, the link goes, the file stays",
       [](const FileTree& t) {
         t.Write("alvo.txt", "alvo");
         t.Link("m/a.xml", "../alvo.txt");
         t.Folder("dest");
       },
       true,
       {},
       {"a.xml"},
       {{"dest/a.xml", "alvo"}, {"alvo.txt", "alvo"}}},
      {"a link in the destination: the file it names is replaced",
       [](const FileTree& t) {
         t.Write("m/a.xml", "novo");
         t.Write("outra/a.xml", "velho");
         t.Link("dest/a.xml", "../outra/a.xml");
       },
       true,
       {},
       {"a.xml"},
       {{"outra/a.xml", "novo"}, {"dest/a.xml", "novo"}}},
      {"no destination folder", [](const FileTree& t) { t.Write("m/a.xml", "a"); }, false, {"a.xml"}, {}, {}},
      {"nothing matches",
       [](const FileTree& t) {
         t.Folder("m");
         t.Folder("dest");
       },
       false,
       {},
       {},
       {}},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.Name);
    FileTree t;
    c.Prepare(t);
    EXPECT_EQ(TmFile::MoverArquivos(t.Path("m/*.xml"), t.Path("dest"), false), c.Moved);
    EXPECT_EQ(t.Names("m"), c.Left);
    EXPECT_EQ(t.Exists("dest") ? t.Names("dest") : Names{}, c.Arrived);
    for (const auto& [file, bytes] : c.Contents) EXPECT_EQ(t.Read(file), bytes) << file;
  }
}

// On one file system a move is a rename: the file that arrives is the one that left
// (a second name made for it beforehand names it still), with its time.
TEST(MoveTest, OnOneFileSystemTheFileItselfMoves) {
  FileTree t;
  t.Write("m/a.xml", "a", 1000000000);
  std::filesystem::create_hard_link(t.Native("m/a.xml"), t.Native("outro-nome"));
  ASSERT_TRUE(TmFile::MoverArquivos(t.Path("m/*.xml"), t.Path("dest"), true));
  EXPECT_TRUE(std::filesystem::equivalent(t.Native("dest/a.xml"), t.Native("outro-nome")));
  EXPECT_EQ(t.ModifiedAt("dest/a.xml"), 1000000000);
  t.Write("b.txt", "b");
  std::filesystem::create_hard_link(t.Native("b.txt"), t.Native("outro-b"));
  ASSERT_TRUE(TmFile::MoverArquivo(t.Path("b.txt"), t.Path("dest"), false));
  EXPECT_TRUE(std::filesystem::equivalent(t.Native("dest/b.txt"), t.Native("outro-b")));
  // Into the folder it is already in: refused, as a copy onto itself is.
  EXPECT_FALSE(TmFile::MoverArquivos(t.Path("dest/*.xml"), t.Path("dest"), false));
  EXPECT_EQ(t.Read("dest/a.xml"), "a");
}

TEST(MoveTest, ChangingExtensionsNeverReplaces) {
  FileTree t;
  for (const char* n : {"a.txt", "b.txt", "c.txt", "b.bak", "d.dat"}) t.Write(n, n);
  EXPECT_TRUE(TmFile::ModificarExtensao(t.Path("*.txt"), u"bak"));  // b.txt fails, c.txt is still done
  EXPECT_EQ(t.Names(), (Names{"a.bak", "b.bak", "b.txt", "c.bak", "d.dat"}));
  EXPECT_EQ(t.Read("b.bak"), "b.bak");
  EXPECT_TRUE(TmFile::ModificarExtensao(t.Path("*.dat"), u".old"));
  EXPECT_TRUE(t.Exists("d.old"));
  EXPECT_FALSE(TmFile::ModificarExtensao(t.Path("*.xyz"), u"bak"));
  EXPECT_FALSE(TmFile::ModificarExtensao(t.Path("b.txt"), u"bak"));  // the last (only) rename failed
}

TEST(DeleteTest, FilesByMask) {
  testing::RecordedDialogs dialogs;
  FileTree t;
  for (const char* n : {"a.txt", "b.txt", "c.txt", ".h.txt", "d.dat"}) t.Write(n, "");
  t.ReadOnly("b.txt");
  const std::u16string folder = t.Path() + u"/";
  EXPECT_FALSE(TmFile::DeleteArquivos(folder, u"*.xml"));
  EXPECT_FALSE(TmFile::DeleteArquivos(folder, u"*.txt"));  // stops at the read-only one
  EXPECT_EQ(t.Names(), (Names{".h.txt", "b.txt", "c.txt", "d.dat"}));
  t.ReadOnly("b.txt", false);
  EXPECT_TRUE(TmFile::DeleteArquivos(folder, u"*.txt"));
  EXPECT_EQ(t.Names(), (Names{".h.txt", "d.dat"}));
  EXPECT_EQ(dialogs.BusyDepth, 0);

  t.Write("e.dat", "");
  t.Folder("f.dat");
  TmFile::DeletarArquivos(t.Path("*.dat"));
  EXPECT_EQ(t.Names(), (Names{".h.txt", "f.dat"}));
}

TEST(DeleteTest, WholeTreesStayInside) {
  FileTree t;
  t.Write("fora/precioso.txt", "p");
  t.Write("arvore/a/b.txt", "b");
  t.Write("arvore/ro.txt", "r");
  t.ReadOnly("arvore/ro.txt");  // the shell deletes these too
  t.Link("arvore/a/atalho", t.Native("fora"));
  t.Link("arvore/a/arquivo", t.Native("fora/precioso.txt"));
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("arvore/"), false));
  EXPECT_FALSE(t.Exists("arvore"));
  EXPECT_EQ(t.Read("fora/precioso.txt"), "p");
  // A link named directly: the link goes, its target stays.
  t.Link("elo", t.Native("fora"));
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("elo"), false));
  EXPECT_FALSE(t.Exists("elo"));
  EXPECT_TRUE(t.Exists("fora/precioso.txt"));
  // A single file, and a mask that empties a folder (hidden entries and folders too).
  t.Write("x/1.txt", "");
  t.Write("x/.2", "");
  t.Folder("x/3");
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("x/1.txt"), false));
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("x/*.*"), false));
  EXPECT_TRUE(t.Names("x").empty());
  EXPECT_FALSE(TmFile::DirectoryDelete(t.Path("falta"), false));
  // Paths that would take too much are refused before anything is touched.
  for (const std::u16string& p :
       {std::u16string(u""), std::u16string(u"/"), std::u16string(u"//"), std::u16string(u"."), std::u16string(u".."),
        t.Path("x/.."), t.Path("x/./"), t.Path("x/.")})
    EXPECT_FALSE(TmFile::DirectoryDelete(p, false)) << U16ToUtf8(p);
  EXPECT_TRUE(t.Exists("x"));
  EXPECT_TRUE(t.Exists("fora/precioso.txt"));
}

TEST(DeleteTest, ToTheTrash) {
  FileTree t;
  ScopedEnv data("XDG_DATA_HOME", t.Native("dados").c_str());
  t.Write("pasta com espaço/a.txt", "a");
  t.Write("b.txt", "1");
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("pasta com espaço"), true));
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("b.txt"), true));
  t.Write("b.txt", "2");
  ASSERT_TRUE(TmFile::DirectoryDelete(t.Path("b.txt"), true));
  EXPECT_FALSE(t.Exists("b.txt"));
  EXPECT_EQ(t.Names("dados/Trash/files"), (Names{"b.txt", "b.txt.2", "pasta com espaço"}));
  EXPECT_EQ(t.Read("dados/Trash/files/pasta com espaço/a.txt"), "a");
  EXPECT_EQ(t.Read("dados/Trash/files/b.txt.2"), "2");
  const std::string info = t.Read("dados/Trash/info/pasta com espaço.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + t.Root() + "/pasta%20com%20espa%C3%A7o\nDeletionDate=", 0), 0u) << info;
  EXPECT_EQ(info.size(), std::string("[Trash Info]\nPath=" + t.Root() + "/pasta%20com%20espa%C3%A7o\n").size() +
                             std::string("DeletionDate=2026-01-01T00:00:00\n").size());
  EXPECT_TRUE(t.Exists("dados/Trash/info/b.txt.2.trashinfo"));
  EXPECT_FALSE(TmFile::DirectoryDelete(t.Path("falta"), true));
  EXPECT_EQ(t.Names("dados/Trash/info").size(), 3u);  // no info left for what was not moved
}

TEST(RenameTest, FoldersAreRenamedDirectly) {
  FileTree t;
  t.Folder("velha");
  TmFile::RenameDir(t.Path("velha"), u"nova");
  EXPECT_EQ(t.Names(), (Names{"nova"}));
  TmFile::RenameDir(t.Path("nova/"), t.Path("outra"));
  EXPECT_EQ(t.Names(), (Names{"outra"}));
  t.Folder("existe");
  TmFile::RenameDir(t.Path("outra"), u"existe");  // never onto an existing name
  EXPECT_EQ(t.Names(), (Names{"existe", "outra"}));
  // A name is only a name: nothing in it is run.
  TmFile::RenameDir(t.Path("outra"), u"x\" & touch injetado & \"y");
  EXPECT_EQ(t.Names(), (Names{"existe", "x\" & touch injetado & \"y"}));
}

}  // namespace
}  // namespace zelmor
