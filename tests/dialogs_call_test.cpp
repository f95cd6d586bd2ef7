// The dialog routines through the built tool: headless messages on standard error,
// answers from ZELMOR_DIALOG_ANSWERS or the default button, the silent abort as an error.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "testing/run_program.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;

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
      {{"call", "--json", "TmDlg.ConfirmaExit", "Sair?"},
       "0",
       "{\"error\":\"Operação cancelada\",\"kind\":\"abort\"}\n",
       1},
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
  const ProcessResult many =
      Zelmor({"call", "TmDlg.Show", "[\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\"]", "x", "1", "t", "2"});
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

// A routine that returns at once (the wait window) is seen only when the windows are
// held up: for some seconds, or until standard input closes. A real X server (Xvfb)
// shows whether the window is there.
TEST(DialogCalls, HoldKeepsTheWaitWindowUp) {
  if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/xwininfo", X_OK) != 0)
    GTEST_SKIP() << "Xvfb or xwininfo is not installed";
  const std::string number = std::to_string(300 + getpid() % 500);  // this process's own display
  const std::string display = ":" + number;
  const int server = StartQuietly({"/usr/bin/Xvfb", display, "-nolisten", "tcp", "-screen", "0", "800x600x24"});
  ASSERT_GT(server, 0);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  for (int i = 0; i < 200 && access(socket.c_str(), F_OK) != 0; ++i) std::this_thread::sleep_for(50ms);
  const std::vector<std::string> env{"DISPLAY=" + display};
  const auto waitWindowShown = [&] {
    const ProcessResult tree = RunProcess("/usr/bin/xwininfo", {"-root", "-tree", "-display", display});
    return tree.Out.find("\"Processando...\"") != std::string::npos;
  };

  ChildProcess held(BinDir() + "/zelmor",
                    {"dialog", "--hold", "3", "dbxAguardeUnit.ShowWaitWindow", "Gravando", "Aguarde"}, env,
                    {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"});
  bool seen = false;
  for (int i = 0; i < 200 && !seen && held.Running(); ++i) {
    seen = waitWindowShown();
    if (!seen) std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(seen) << held.Err();
  EXPECT_EQ(held.Wait(30s), 0) << held.Err();

  // Until standard input closes: here at once, as the input is empty.
  const ProcessResult untilEnd = RunProcess(
      BinDir() + "/zelmor", {"dialog", "--hold", "stdin", "dbxAguardeUnit.ShowWaitWindow", "x", "y"}, "", 30s, env);
  EXPECT_EQ(untilEnd.ExitCode, 0) << untilEnd.Err;
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);

  for (const char* bad : {"0", "x", "-3"}) {
    const ProcessResult p = Zelmor({"dialog", "--hold", bad, "mDlg.Informa", "x"}, env);
    EXPECT_EQ(p.ExitCode, 2) << bad;
    EXPECT_NE(p.Err.find("--hold takes a number of seconds"), std::string::npos) << p.Err;
  }
}

}  // namespace
}  // namespace zelmor::testing
