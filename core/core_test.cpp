#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "core/cp1252.h"
#include "core/cp437.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/snapshot.h"
#include "core/surrogates.h"
#include "core/text.h"
#include "core/types.h"

namespace zelmor {
namespace {

TEST(Cp1252Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string text = cp1252::Decode(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(cp1252::Encode(text), all);
}

TEST(Cp1252Test, HighRangeAndSeparator) {
  struct {
    unsigned char byte;
    char16_t ch;
  } cases[] = {{0x80, u'\u20AC'}, {0x85, u'\u2026'}, {0x91, u'\u2018'}, {0x93, u'\u201C'}, {0x95, u'\u2022'},
               {0x81, 0x81},      {0x8D, 0x8D},      {0x8F, 0x8F},      {0x90, 0x90},      {0x9D, 0x9D},
               {0xBF, u'\u00BF'}, {0xE7, u'ç'},      {0xC3, u'Ã'},      {0x9F, u'\u0178'}, {0x41, u'A'}};
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252::DecodeByte(c.byte), c.ch) << int(c.byte);
    EXPECT_EQ(cp1252::EncodeChar(c.ch), c.byte) << int(c.byte);
  }
  EXPECT_EQ(cp1252::EncodeChar(u'\u4E2D'), -1);
  EXPECT_EQ(cp1252::Encode(u"a\u4E2Db"), "a?b");
}

// The decoders take plain bytes a block at a time: a byte that needs the table (or
// ends a line) must be found wherever it falls in a block, and the rest of the text
// must come out as byte-by-byte decoding gives it.
TEST(Cp1252Test, BlocksGiveWhatEachByteGives) {
  for (int b = 0; b < 256; ++b) {
    if (b < 0x80 || b > 0x9F) {
      EXPECT_EQ(cp1252::DecodeByte(static_cast<unsigned char>(b)), b) << b;
    }
  }
  const unsigned char kOdd[] = {0x80, 0x81, 0x9D, 0x9F, 0xA0, 0xE7, 0xFF, 0x7F, 0x00, '\r', '\n'};
  for (std::size_t size : {15, 16, 17, 31, 32, 33, 48, 70}) {
    for (unsigned char odd : kOdd) {
      for (std::size_t at = 0; at < size; ++at) {
        std::string bytes;
        for (std::size_t k = 0; k < size; ++k) bytes.push_back(static_cast<char>('a' + k % 26));
        bytes[at] = static_cast<char>(odd);
        // A second one a block later, where the block after the first starts anew.
        if (at + 17 < size) bytes[at + 17] = static_cast<char>(odd);
        std::u16string expected;
        for (char c : bytes) expected.push_back(cp1252::DecodeByte(static_cast<unsigned char>(c)));
        const std::string what = std::to_string(size) + " bytes, " + std::to_string(odd) + " at " + std::to_string(at);
        ASSERT_EQ(cp1252::Decode(bytes), expected) << what;
        std::u16string room(size, u'-');
        ASSERT_EQ(cp1252::Decode(bytes, room.data()), room.data() + size) << what;
        ASSERT_EQ(room, expected) << what;
        // A line stops at its first CR or LF; what comes before it is decoded.
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), size);
        room.assign(size, u'-');
        ASSERT_EQ(cp1252::DecodeLine(bytes, room.data()), end) << what;
        ASSERT_EQ(room.substr(0, end), expected.substr(0, end)) << what;
      }
    }
  }
}

// Code page 437: a few bytes by hand, and all 256 against Python's codec where it is
// installed (an independent table).
TEST(Cp437Test, EveryByteAsPythonReadsIt) {
  struct {
    unsigned char byte;
    char16_t ch;
  } cases[] = {{0x41, u'A'}, {0x00, 0x00},      {0x7F, 0x7F},      {0x80, u'Ç'},      {0x86, u'å'},
               {0x91, u'æ'}, {0x9E, u'\u20A7'}, {0xA9, u'\u2310'}, {0xB0, u'\u2591'}, {0xE1, u'ß'},
               {0xE6, u'µ'}, {0xFA, u'·'},      {0xFF, u'\u00A0'}};
  for (const auto& c : cases) EXPECT_EQ(cp437::DecodeByte(c.byte), c.ch) << int(c.byte);
  EXPECT_EQ(cp437::Decode("filename_with_\x91o\x86.txt"), u"filename_with_æoå.txt");

  std::FILE* p = popen(
      "python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)).decode(\"cp437\").encode(\"utf-8\"))' 2>/dev/null",
      "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[1024];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  if (pclose(p) != 0 || out.empty()) GTEST_SKIP() << "python3 is not installed: no cross-check";
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(cp437::Decode(all), Utf8ToU16(out));
}

TEST(TextTest, Utf8RoundTripAndInvalidBytes) {
  std::u16string s = u"Ação ¿ € 😀";
  EXPECT_EQ(Utf8ToU16(U16ToUtf8(s)), s);
  EXPECT_EQ(Utf8ToU16("a\xff"
                      "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToU16("\xc3"), u"\uFFFD");            // truncated sequence
  EXPECT_EQ(Utf8ToU16("\xc0\xaf"), u"\uFFFD\uFFFD");  // overlong '/'
  EXPECT_EQ(U16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// Each sequence (or bad byte) is put at every place in a run of ASCII, so that it
// meets the edge of every block the ASCII fast path reads, and then with a second one
// after every gap: the text must be what the sequence gives on its own, between the
// ASCII as it stands. On its own it is too short for a block, so it is decoded byte by
// byte; and what that gives is pinned here too.
TEST(TextTest, Utf8BlocksGiveWhatEachSequenceGives) {
  struct Piece {
    std::string bytes;
    std::u16string text;  // empty: every byte is one that starts no well-formed sequence
  };
  const Piece pieces[] = {
      {"\xC3\xA7", u"ç"},
      {"\xC2\x80", u"\u0080"},
      {"\xE2\x82\xAC", u"€"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x9F\x98\x80", u"😀"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"\xC3", u""},              // cut
      {"\xE2\x82", u""},          // cut
      {"\xF0\x9F\x98", u""},      // cut
      {"\xC0\xAF", u""},          // overlong
      {"\xC1\xBF", u""},          // overlong
      {"\xE0\x9F\xBF", u""},      // overlong
      {"\xF0\x8F\xBF\xBF", u""},  // overlong
      {"\xED\xA0\x80", u""},      // a surrogate
      {"\xF4\x90\x80\x80", u""},  // past U+10FFFF
      {"\x80\xBF", u""},          // stray continuation bytes
      {"\xF8\xFF", u""},          // never in UTF-8
  };
  const auto E = Utf8Invalid::Escape;
  auto replaced = [](const Piece& p) { return p.text.empty() ? std::u16string(p.bytes.size(), u'\uFFFD') : p.text; };
  auto escaped = [](const Piece& p) {
    if (!p.text.empty()) return p.text;
    std::u16string t;
    for (char c : p.bytes) t.push_back(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(c)));
    return t;
  };
  for (const Piece& p : pieces) {
    ASSERT_EQ(Utf8ToU16(p.bytes), replaced(p)) << p.bytes;
    ASSERT_EQ(Utf8ToU16(p.bytes, E), escaped(p)) << p.bytes;
  }
  const std::string ascii = "<nota>0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW</nota>";
  auto widened = [](std::string_view s) { return std::u16string(s.begin(), s.end()); };
  auto expect = [&](const std::string& bytes, const std::u16string& replacedText, const std::u16string& escapedText,
                    bool valid, const std::string& what) {
    ASSERT_EQ(Utf8ToU16(bytes), replacedText) << what;
    ASSERT_EQ(Utf8ToU16(bytes, E), escapedText) << what;
    std::u16string strict = u"lixo";
    ASSERT_EQ(TryUtf8ToU16(bytes, strict), valid) << what;
    if (valid) {
      ASSERT_EQ(strict, replacedText) << what;
    }
  };
  for (const Piece& p : pieces) {
    for (std::size_t at = 0; at <= 40; ++at) {
      const std::string head = ascii.substr(0, at), tail = ascii.substr(at);
      expect(head + p.bytes + tail, widened(head) + replaced(p) + widened(tail),
             widened(head) + escaped(p) + widened(tail), !p.text.empty(), p.bytes + " at " + std::to_string(at));
    }
    for (const Piece& q : pieces) {
      for (std::size_t gap = 1; gap <= 17; ++gap) {
        const std::string head = ascii.substr(0, 3), mid = ascii.substr(3, gap), tail = ascii.substr(3 + gap, 20);
        expect(head + p.bytes + mid + q.bytes + tail,
               widened(head) + replaced(p) + widened(mid) + replaced(q) + widened(tail),
               widened(head) + escaped(p) + widened(mid) + escaped(q) + widened(tail),
               !p.text.empty() && !q.text.empty(), p.bytes + " and " + q.bytes + " after " + std::to_string(gap));
      }
    }
  }
  // The strict decoder keeps what it decoded before the bad byte, as it always has.
  std::u16string strict;
  EXPECT_FALSE(TryUtf8ToU16(ascii.substr(0, 20) + "\xC3(" + ascii, strict));
  EXPECT_EQ(strict, widened(ascii.substr(0, 20)));
}

// Linux file names are bytes: whatever they hold must come back byte for byte.
TEST(TextTest, EscapedBytesRoundTrip) {
  const auto E = Utf8Invalid::Escape;
  struct {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"nota\xff.xml", u"nota\xDCFF.xml"},     {"\xc3", u"\xDCC3"},  // truncated sequence
      {"\xc0\xaf", u"\xDCC0\xDCAF"},                                 // overlong '/' never becomes a separator
      {"\xed\xb2\x80", u"\xDCED\xDCB2\xDC80"},                       // an encoded surrogate is not UTF-8
      {"a\xe7\xe3o", u"a\xDCE7\xDCE3o"},                             // Windows-1252 "ação"
      {"\xc3\xa7\xf0\x9f\x98\x80", u"ç😀"},                           // valid text is plain text
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToU16(c.bytes, E), c.text) << c.bytes;
    EXPECT_EQ(U16ToUtf8(c.text, E), c.bytes) << c.bytes;
  }
  // Every single byte and every pair of bytes round-trips.
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      const std::string s{static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(U16ToUtf8(Utf8ToU16(s, E), E), s) << a << ' ' << b;
    }
  // For people the escaped bytes read as U+FFFD; other lone surrogates stay U+FFFD either way.
  EXPECT_EQ(U16ToUtf8(u"a\xDCFF"), "a\xEF\xBF\xBD");
  EXPECT_EQ(U16ToUtf8(u"\xD800\xDC41", E), "\xF0\x90\x81\x81");  // a pair stays a pair
  EXPECT_EQ(U16ToUtf8(std::u16string(1, char16_t(0xDC10)), E), "\xEF\xBF\xBD");
}

TEST(SurrogatesTest, PairsAndTheirHalves) {
  const struct {
    std::u16string_view Text;
    std::size_t At;
    bool Pair;
  } cases[] = {
      {u"\xD800\xDC00", 0, true},
      {u"\xDBFF\xDFFF", 0, true},
      {u"a\U0001F600", 1, true},
      {u"\xD800\xDC00", 1, false},  // the low half does not start one
      {u"\xDC00\xD800", 0, false},  // the wrong way round
      {u"\xD800", 0, false},        // cut at the end
      {u"\xD800\xD800\xDC00", 0, false},
      {u"\xD800\xD800\xDC00", 1, true},
      {u"\xD7FF\xDC00", 0, false},
      {u"\xD800\xE000", 0, false},
      {u"\xD800\xDBFF", 0, false},
      {u"ab", 0, false},
      {u"", 0, false},
      {u"\U0001F600", 2, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SurrogatePairAt(c.Text, c.At), c.Pair) << U16ToUtf8(c.Text, Utf8Invalid::Escape) << " at " << c.At;
  // The edges of each half.
  for (char16_t c : {char16_t(0xD7FF), char16_t(0xE000), u'a', u'\uFFFD'})
    EXPECT_FALSE(IsHighSurrogate(c) || IsLowSurrogate(c) || IsSurrogate(c)) << int(c);
  for (char16_t c : {char16_t(0xD800), char16_t(0xDBFF)})
    EXPECT_TRUE(IsHighSurrogate(c) && !IsLowSurrogate(c) && IsSurrogate(c)) << int(c);
  for (char16_t c : {char16_t(0xDC00), char16_t(0xDFFF)})
    EXPECT_TRUE(!IsHighSurrogate(c) && IsLowSurrogate(c) && IsSurrogate(c)) << int(c);
}

TEST(TextTest, Utf16Bytes) {
  auto bytes = [](std::u16string_view s, bool be) {
    std::string out;
    AppendUtf16Bytes(out, s, be);
    return out;
  };
  EXPECT_EQ(bytes(u"aç", false), std::string("a\0\xe7\0", 4));
  EXPECT_EQ(bytes(u"aç", true), std::string("\0a\0\xe7", 4));
  EXPECT_EQ(Utf16BytesToU16(std::string("\0a\0\xe7\0", 5), true), u"aç");  // odd byte dropped
  EXPECT_EQ(Utf16BytesToU16(bytes(u"😀x", false), false), u"😀x");
}

TEST(TextTest, CaseAndIntegers) {
  // Unicode's case mapping, every script: whole texts with the full mapping (which
  // may change the length), single code units with the simple one.
  const struct {
    std::u16string text, upper, lower;
  } cases[] = {
      {u"ação çÿ", u"AÇÃO ÇŸ", u"ação çÿ"},
      {u"AÇÃO ×", u"AÇÃO ×", u"ação ×"},
      {u"жук", u"ЖУК", u"жук"},
      {u"Łódź škoda", u"ŁÓDŹ ŠKODA", u"łódź škoda"},
      {u"straße", u"STRASSE", u"straße"},
      {u"İstanbul", u"İSTANBUL", u"i̇stanbul"},           // language-neutral: no Turkish rules
      {u"\U00010428x", u"\U00010400X", u"\U00010428x"},  // a surrogate pair maps whole
      {u"東京", u"東京", u"東京"},
      {u"plain ASCII", u"PLAIN ASCII", u"plain ascii"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UpperCase(c.text), c.upper) << U16ToUtf8(c.text);
    EXPECT_EQ(LowerCase(c.text), c.lower) << U16ToUtf8(c.text);
  }
  EXPECT_EQ(UpperChar(u'ж'), u'Ж');
  EXPECT_EQ(UpperChar(u'ÿ'), u'Ÿ');
  EXPECT_EQ(UpperChar(u'ß'), u'ß');  // "SS" is two characters: not a one-to-one mapping
  EXPECT_EQ(LowerChar(u'Ž'), u'ž');
  EXPECT_EQ(UpperFirst(u"škoda"), u"Škoda");
  EXPECT_EQ(UpperFirst(u"\U00010428\U00010428"), u"\U00010400\U00010428");
  EXPECT_EQ(UpperFirst(u""), u"");
  EXPECT_TRUE(SameText(u"São Paulo", u"SÃO PAULO"));
  EXPECT_TRUE(SameText(u"Жук", u"жУК"));
  EXPECT_FALSE(SameText(u"abc", u"abd"));
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), u"-9223372036854775808");
}

TEST(IntegerTextTest, PortsAreOneTo65535InPlainDigits) {
  struct {
    const char* text;
    int port;  // 0: refused
  } cases[] = {
      {"2200", 2200}, {"1", 1},      {"65535", 65535},  {"02200", 2200}, {"0", 0},   {"65536", 0},
      {"99999", 0},   {"", 0},       {"-1", 0},         {"+80", 0},      {" 80", 0}, {"80 ", 0},
      {"0x50", 0},    {"123456", 0}, {"4294969496", 0},  // 2^32 + 2200 must not wrap to 2200
  };
  for (const auto& c : cases) {
    std::uint16_t port = 7;
    EXPECT_EQ(ParsePort(c.text, port), c.port != 0) << c.text;
    if (c.port) {
      EXPECT_EQ(port, c.port) << c.text;
    }
  }
}

TEST(IntegerTextTest, HexDigitsOfNumbersAndBytes) {
  // Fixed widths pad with zeros and never cut a longer number short.
  struct {
    std::uint64_t value;
    int width;
    bool upper;
    const char* text;
  } numbers[] = {
      {0, 1, false, "0"},
      {0xAB, 2, true, "AB"},
      {0x5, 2, false, "05"},
      {0x409, 4, false, "0409"},
      {0x04B0, 4, true, "04B0"},
      {0x12345, 4, false, "12345"},
      {0xFFFFFFFFFFFFFFFFull, 1, false, "ffffffffffffffff"},
  };
  for (const auto& c : numbers) {
    std::string s = "x";
    AppendUnsigned<16>(s, c.value, c.width, c.upper);
    EXPECT_EQ(s, std::string("x") + c.text) << c.value;
    std::u16string wide;
    AppendUnsigned<16>(wide, c.value, c.width, c.upper);
    EXPECT_EQ(U16ToUtf8(wide), c.text) << c.value;
  }
  // Bytes: two digits each, in order, the high half first; every byte value.
  struct {
    std::string_view bytes;
    bool upper;
    const char* text;
  } byteCases[] = {
      {"", false, ""},
      {std::string_view("\0", 1), false, "00"},
      {"\x01\xAB\x10\xFF", false, "01ab10ff"},
      {"\x01\xAB\x10\xFF", true, "01AB10FF"},
      {"Az", true, "417A"},
  };
  for (const auto& c : byteCases) {
    std::string s = "k:";
    AppendHexBytes(s, c.bytes, c.upper);
    EXPECT_EQ(s, std::string("k:") + c.text);
    std::u16string wide = u"k:";
    AppendHexBytes(wide, c.bytes, c.upper);
    EXPECT_EQ(U16ToUtf8(wide), std::string("k:") + c.text);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string hex;
  AppendHexBytes(hex, all);
  ASSERT_EQ(hex.size(), 512u);
  auto digit = [&](int i) { return HexDigitValue(static_cast<char16_t>(hex[static_cast<std::size_t>(i)])); };
  for (int b = 0; b < 256; ++b) EXPECT_EQ(digit(2 * b) * 16 + digit(2 * b + 1), b);
}

TEST(TypesTest, CurrencyRoundsHalfAwayFromZero) {
  EXPECT_EQ(Currency::FromDouble(1.23455).Raw, 12346);
  EXPECT_EQ(Currency::FromDouble(-1.23455).Raw, -12346);
  EXPECT_DOUBLE_EQ(Currency::FromRaw(15000).ToDouble(), 1.5);
  EXPECT_EQ(Currency::FromDouble(9e14).Raw, 9000000000000000000);
  EXPECT_EQ(Currency::FromDouble(-9e14).Raw, -9000000000000000000);
  // Outside the 64-bit range there is no currency value: refused, never wrapped round.
  for (double v : {1e18, -1e18, 922337203685477.6, std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()})
    EXPECT_THROW(Currency::FromDouble(v), EConvertError) << v;
}

TEST(TypesTest, StringList) {
  TStringList l;
  EXPECT_EQ(l.Add(u"a"), 0);
  EXPECT_EQ(l.Add(u"b"), 1);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.IndexOf(u"b"), 1);
  EXPECT_EQ(l.IndexOf(u"c"), -1);
  EXPECT_EQ(l.Text(), u"a\r\nb\r\n");
  EXPECT_THROW(l[5], std::out_of_range);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(ErrorsTest, KindAndMessage) {
  try {
    throw EConvertError(u"'x' não é um valor inteiro válido");
  } catch (const EZelmorError& e) {
    EXPECT_STREQ(e.Kind(), "conversion");
    EXPECT_EQ(e.Message(), u"'x' não é um valor inteiro válido");
    EXPECT_STREQ(e.what(), "'x' não é um valor inteiro válido");
  }
}

}  // namespace
}  // namespace zelmor

namespace zelmor {
namespace {

// A value that counts how many of its copies are alive.
struct Counted {
  static inline std::atomic<int> Live{0};
  int Value = 0;
  Counted() { ++Live; }
  Counted(const Counted& o) : Value(o.Value) { ++Live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --Live; }
};

TEST(SnapshotTest, ReplacedCopiesLastAsLongAsTheSnapshot) {
  {
    Snapshot<Counted> s([] { return Counted{}; });
    const Counted& first = s.Get();
    s.Set(Counted{});
    EXPECT_EQ(first.Value, 0);  // a reference outlives a change
    for (int i = 1; i <= 10000; ++i) {
      Counted c;
      c.Value = i;
      s.Set(c);
    }
    EXPECT_EQ(s.Get().Value, 10000);
    EXPECT_EQ(first.Value, 0);  // and any number of them
    EXPECT_EQ(Counted::Live.load(), 10002);
  }
  EXPECT_EQ(Counted::Live.load(), 0);
}

// Readers hold references to the values they got while the value changes 10,000
// times; every reference still reads its own whole value (AddressSanitizer reports a
// freed one).
TEST(SnapshotTest, ReadersKeepTheirReferencesThroughABurstOfChanges) {
  struct Value {
    int N = 0;
    std::string Text;  // on the heap: a freed value's text is freed memory
  };
  auto make = [](int n) { return Value{n, std::string(48, static_cast<char>('a' + n % 26)) + std::to_string(n)}; };
  Snapshot<Value> s([&] { return make(0); });
  std::atomic<bool> done{false};
  std::atomic<long> bad{0};
  std::atomic<int> holding{0};
  auto reader = [&] {
    // The first references taken are held to the end; later ones take turns.
    std::vector<const Value*> held;
    for (long round = 0; round < 1000000 && !done.load(); ++round) {
      if (held.size() < 64) {
        held.push_back(&s.Get());
        if (held.size() == 64) holding.fetch_add(1);
      } else {
        held[32 + round % 32] = &s.Get();
      }
      for (const Value* v : held)
        if (v->Text.size() < 48 || v->Text[0] != 'a' + v->N % 26) bad.fetch_add(1);
    }
  };
  std::thread r1(reader), r2(reader);
  // The changes start once both readers hold references.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (holding.load() < 2 && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
  for (int i = 1; i <= 10000; ++i) s.Set(make(i));
  done = true;
  r1.join();
  r2.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_EQ(s.Get().N, 10000);
}

TEST(SnapshotTest, UpdatesAtTheSameTimeAllTakeEffect) {
  Snapshot<int> s([] { return 0; });
  constexpr int kEach = 20000;
  auto bump = [&] {
    for (int i = 0; i < kEach; ++i) s.Update([](int& v) { ++v; });
  };
  std::thread a(bump), b(bump);
  a.join();
  b.join();
  EXPECT_EQ(s.Get(), 2 * kEach);
}

}  // namespace
}  // namespace zelmor
