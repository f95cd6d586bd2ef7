// The dialog routines through the built tool: headless messages on standard error,
// answers from ZELMOR_DIALOG_ANSWERS or the default button, the silent abort as an error.
#include <gtest/gtest.h>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

ProcessResult Zelmor(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  return RunProcess(BinDir() + "/zelmor", args, {}, std::chrono::seconds(30), env);
}

TEST(DialogCalls, AnswersComeFromTheScriptOrTheDefaultButton) {
  struct Case {
    std::vector<std::string> Args;
    std::string Answers;
    std::string Out;
    int Exit;
  };
  const Case cases[] = {
      {{"call", "mDlg.Confirma", "Gravar?"}, "", "true\n", 0},
      {{"call", "mDlg.Confirma", "Excluir?", "true"}, "", "false\n", 0},  // Não has the focus
      {{"call", "mDlg.Confirma", "Gravar?"}, "0", "false\n", 0},
      {{"call", "TmDlg.Show", "[\"A\",\"\",\"C\"]", "Escolha", "1", "Opções", "2"}, "3", "3\n", 0},
      {{"call", "TmDlg.Show", "[\"A\",\"\",\"C\"]", "Escolha", "1", "Opções", "2"}, "0", "0\n", 0},
      {{"call", "TmDlg.ConfirmaUsuarioDesatento", "Cancelar?"}, "1, 1,6", "true\n", 0},
      {{"call", "TmDlg.MensagemEventos", "[\"Imprimir\",\"Fechar\"]", "[0,1]", "Venda", "Pronto"}, "1,2", "2\n", 0},
      {{"call", "--json", "TmDlg.ConfirmaExit", "Sair?"}, "0", "{\"error\":\"Operação cancelada\",\"kind\":\"abort\"}\n", 1},
      {{"call", "TmDlg.GetMsgTratada", "ERROR: [#MSG]Sem saldo SQL: x"}, "", "Sem saldo \n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args[1] + " " + c.Args[2]);
    std::vector<std::string> env;
    if (!c.Answers.empty()) env.push_back("ZELMOR_DIALOG_ANSWERS=" + c.Answers);
    const ProcessResult p = Zelmor(c.Args, env);
    EXPECT_EQ(p.ExitCode, c.Exit) << p.Err;
    EXPECT_EQ(p.Out, c.Out);
  }
}

TEST(DialogCalls, MessagesGoToStandardErrorAfterTheWaitWindowCloses) {
  const ProcessResult p = Zelmor({"call", "TmDlg.Erro", "", "Falhou", "linha", "0", "timeout"});
  EXPECT_EQ(p.ExitCode, 0);
  EXPECT_EQ(p.Err, "Ocorreu um erro: Falhou\n");
  const ProcessResult handled = Zelmor({"call", "TmDlg.Erro", "", "Falhou", "", "0", "[#MSG]Cliente bloqueado SQL: x"});
  EXPECT_EQ(handled.Err, "Informação: Cliente bloqueado \n");
  const ProcessResult many = Zelmor({"call", "TmDlg.Show", "[\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\"]", "x", "1", "t", "2"});
  EXPECT_EQ(many.Out, "0\n");
  EXPECT_EQ(many.Err, "Ocorreu um erro: Máximo 6 botões!\n");
}

TEST(DialogCalls, TheRealWindowsNeedAScreen) {
  const ProcessResult p = Zelmor({"dialog", "mDlg.Informa", "x"}, {"QT_QPA_PLATFORM=offscreen"});
  EXPECT_EQ(p.ExitCode, 1);
  // A build without the display program has no windows at all.
  EXPECT_TRUE(p.Err.find("needs a display") != std::string::npos || p.Err.find("no windows") != std::string::npos)
      << p.Err;
}

}  // namespace
}  // namespace zelmor::testing
