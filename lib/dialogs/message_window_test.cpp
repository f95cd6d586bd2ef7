#include <gtest/gtest.h>

#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagemPlus.h"

namespace zelmor {
namespace {

using platform::DialogKind;

TEST(MessageWindowTest, EachTypeHasItsCaptionColourIconAndButtons) {
  struct Case {
    TMsgDlgType Tipo;
    int Tempo;
    bool FocoNao;
    const char16_t* Caption;
    std::uint32_t Colour;
    bool Icon;
    const char16_t* Ok;
    bool Cancel;
    const char16_t* CancelCaption;
    int Countdown;
    bool CancelFirst;
  };
  const Case cases[] = {
      {mtWarning, 0, false, u"Atenção", 0xF04E00, true, u"&OK", false, u"Cancela&r", 0, false},
      {mtError, 4, false, u"Erro", 0xFF0000, true, u"&OK", false, u"Cancela&r", 4, false},
      {mtInformation, 0, true, u"Informação", 0x0000FF, true, u"&OK", false, u"Cancela&r", 0, false},
      {mtConfirmation, 0, false, u"Confirmação", 0x800080, true, u"&Sim", true, u"&Não", 0, false},
      {mtConfirmation, 0, true, u"Confirmação", 0x800080, true, u"&Sim", true, u"&Não", 0, true},
      // With a countdown a confirmation keeps OK / Cancelar and counts on OK.
      {mtConfirmation, 5, false, u"Confirmação", 0x800080, true, u"&OK", true, u"Cancela&r", 5, false},
      {mtCustom, 0, false, u"Título", 0x0000FF, false, u"&OK", false, u"Cancela&r", 0, false},
      // A negative countdown is none.
      {mtWarning, -3, false, u"Atenção", 0xF04E00, true, u"&OK", false, u"Cancela&r", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Tipo) * 100 + c.Tempo);
    const platform::MessageWindow w =
        TmDialogForm::Descricao(u"Cabeça", u"Corpo", u"", c.Tipo, c.FocoNao, c.Tempo, false, false);
    EXPECT_EQ(w.Caption, c.Caption);
    EXPECT_EQ(w.Headline, u"Cabeça");
    EXPECT_EQ(w.Body, u"Corpo");
    EXPECT_EQ(w.HeadlineColour, c.Colour);
    EXPECT_EQ(w.Icon, c.Icon);
    EXPECT_EQ(w.OkCaption, c.Ok);
    EXPECT_EQ(w.CancelShown, c.Cancel);
    EXPECT_EQ(w.CancelCaption, c.CancelCaption);
    EXPECT_EQ(w.Countdown, c.Countdown);
    EXPECT_EQ(w.CancelFirst, c.CancelFirst);
  }
}

TEST(MessageWindowTest, DetailsAreNormalisedAndBlankDetailsHideTheButton) {
  const struct {
    const char16_t* In;
    const char16_t* Out;
  } cases[] = {
      {u"a   b", u"a b"}, {u"x¿y", u"x\r\ny"}, {u"1\r\n2\n3\r4", u"1\r\n2\r\n3\r\n4"},
      {u"\r\n\r", u""},  // line breaks alone are blank too
      {u"   ", u""},      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TmDialogForm::TextoDetalhes(c.In), c.Out) << std::u16string(c.In).size();
}

TEST(MessageWindowTest, CopyTurnsEveryLineBreakIntoCrLf) {
  EXPECT_EQ(TmDialogForm::TextoCopia(u"Falha", u"linha 1\nlinha 2"), u"Falha\r\n\r\nlinha 1\r\nlinha 2");
  EXPECT_EQ(TmDialogForm::TextoCopia(u"T", u"a\rb\r\nc¿"), u"T\r\n\r\na\r\nb\r\nc¿");
}

TEST(WaitWindowTimeTest, CountElapsedAndRemaining) {
  const struct {
    int Pos, Max;
    std::uint32_t Ms;
    const char16_t* Text;
  } cases[] = {
      {25, 100, 5000, u"25/100 - Percorrido 00:00:05 - Restante 00:00:15"},
      {0, 100, 5000, u"0/100"},
      {100, 100, 61000, u"100/100 - Percorrido 00:01:01 - Restante 00:00:00"},
      // 1 999 999 999 × 3 600 000 overflows 32 bits (and 31 of them); the estimate does not.
      {1, 2000000000, 3600000, u"1/2000000000 - Percorrido 01:00:00 - Restante 07:00:00"},
      // A day or more wraps around; halves of a millisecond round to even.
      {1, 2, 90061000, u"1/2 - Percorrido 01:01:01 - Restante 01:01:01"},
      {2, 3, 1, u"2/3 - Percorrido 00:00:00 - Restante 00:00:00"},
      // Past the maximum nothing sensible remains: the count alone.
      {120, 100, 1000, u"120/100"},
  };
  for (const auto& c : cases) EXPECT_EQ(TdbxAguardeForm::TextoTempo(c.Pos, c.Max, c.Ms), c.Text);
}

}  // namespace
}  // namespace zelmor
