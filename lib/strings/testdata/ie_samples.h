// Valid state registrations of every state, for the tests: published examples and
// numbers made from each rule by a separate implementation of the rules.
#pragma once

namespace zelmor::testdata {

struct IE {
  const char16_t* UF;
  const char16_t* Numero;
};

// Published examples of each state's registration form.
inline constexpr IE kPublicadas[] = {
    {u"AC", u"01.004.823/001-12"}, {u"AL", u"240000048"},       {u"AP", u"030123459"},
    {u"BA", u"123456-63"},         {u"BA", u"612345-57"},       {u"CE", u"06000001-5"},
    {u"DF", u"07.300001.001-09"},  {u"ES", u"082.560.67-6"},    {u"GO", u"10.987.654-7"},
    {u"MA", u"12000038-5"},        {u"MG", u"062.307.904/0081"}, {u"MS", u"28.312.402-4"},
    {u"MT", u"0013000001-9"},      {u"PA", u"15-999999-5"},     {u"PE", u"18.1.001.0000004-9"},
    {u"PI", u"19.301.656-7"},      {u"PR", u"123.45678-50"},    {u"RJ", u"99.999.99-3"},
    {u"RN", u"20.040.040-1"},      {u"RO", u"0000000062521-3"}, {u"RR", u"24006628-1"},
    {u"RS", u"224/3658792"},       {u"SC", u"251.040.852"},     {u"SE", u"27123456-3"},
    {u"SP", u"110.042.490.114"},   {u"SP", u"P-01100424.3/002"}, {u"TO", u"29.01.022783-6"},
    // The current forms: BA 9 digits by modulo 10 and by modulo 11, PE 9 digits, RN 10 digits.
    {u"BA", u"1234567-48"},        {u"BA", u"1623456-51"},      {u"PE", u"0321418-40"},
    {u"RN", u"20.0.040.040-0"},
};

// Numbers made from each rule (by a separate implementation of the rules), a few per
// state, plus the forms and ranges with their own twists.
inline constexpr IE kGeradas[] = {
    {u"AC", u"0197141241690"},  {u"AC", u"0133660556920"},  {u"AC", u"0113024094380"},
    {u"AL", u"248776029"},      {u"AL", u"245471847"},      {u"AL", u"240218477"},
    {u"AM", u"093506686"},      {u"AM", u"022066519"},      {u"AM", u"268262039"},
    {u"AP", u"036659657"},      {u"AP", u"037183702"},      {u"AP", u"034715509"},
    {u"BA", u"64266947"},       {u"BA", u"77076881"},       {u"BA", u"30931617"},
    {u"CE", u"434271640"},      {u"CE", u"955944511"},      {u"CE", u"235001244"},
    {u"DF", u"0727806272348"},  {u"DF", u"0750862503559"},  {u"DF", u"0758235826738"},
    {u"ES", u"269418814"},      {u"ES", u"270904751"},      {u"ES", u"063812231"},
    {u"GO", u"107448718"},      {u"GO", u"116240695"},      {u"GO", u"103944184"},
    {u"MA", u"127776672"},      {u"MA", u"124735207"},      {u"MA", u"120008726"},
    {u"MG", u"0474215845389"},  {u"MG", u"6672498726686"},  {u"MG", u"3892068438655"},
    {u"MS", u"288026500"},      {u"MS", u"283035838"},      {u"MS", u"287830977"},
    {u"MT", u"69515322269"},    {u"MT", u"35066106390"},    {u"MT", u"52891954271"},
    {u"PA", u"158181379"},      {u"PA", u"150420463"},      {u"PA", u"157998290"},
    {u"PB", u"165611995"},      {u"PB", u"162521235"},      {u"PB", u"165202270"},
    {u"PE", u"18458311200248"}, {u"PE", u"18005065939664"}, {u"PE", u"18413680748751"},
    {u"PI", u"197233252"},      {u"PI", u"197643965"},      {u"PI", u"191125997"},
    {u"PR", u"7475974640"},     {u"PR", u"5010255181"},     {u"PR", u"4628709144"},
    {u"RJ", u"51441419"},       {u"RJ", u"69498990"},       {u"RJ", u"45431606"},
    {u"RN", u"204104610"},      {u"RN", u"200522752"},      {u"RN", u"206961324"},
    {u"RO", u"96207751209671"}, {u"RO", u"07714953063685"}, {u"RO", u"02723237386334"},
    {u"RR", u"242835993"},      {u"RR", u"242157817"},      {u"RR", u"249033212"},
    {u"RS", u"3254839872"},     {u"RS", u"3565087333"},     {u"RS", u"4057568513"},
    {u"SC", u"252708865"},      {u"SC", u"256012172"},      {u"SC", u"251647072"},
    {u"SE", u"333442296"},      {u"SE", u"086613618"},      {u"SE", u"868827410"},
    {u"SP", u"699590510829"},   {u"SP", u"138705874760"},   {u"SP", u"606824241722"},
    {u"TO", u"29028503727"},    {u"TO", u"29997661736"},    {u"TO", u"29030380340"},
    // SP rural producer, TO's 9-digit form.
    {u"SP", u"P300000643709"},  {u"SP", u"P938583785439"},  {u"SP", u"P624842762732"},
    {u"TO", u"290159873"},      {u"TO", u"290136199"},      {u"TO", u"299923819"},
    // AP: the p = 5 and p = 9 ranges, and 11 − r = 11 giving each range's fallback digit.
    {u"AP", u"030122088"},      {u"AP", u"030181951"},      {u"AP", u"030000020"},
    {u"AP", u"030170071"},      {u"AP", u"030190290"},      {u"AP", u"030000080"},
    // BA by modulo 11 (first digit 6, 7 or 9).
    {u"BA", u"96748415"},       {u"BA", u"74646449"},       {u"BA", u"69742376"},
    // GO with r = 1: 1 inside 10103105–10119997, 0 outside.
    {u"GO", u"101031051"},      {u"GO", u"110000030"},
    // AM with Σ below 11; SP with a remainder of 10; PE with 11 − r of 11 and 10.
    {u"AM", u"000000019"},      {u"AM", u"000000108"},      {u"SP", u"100000980125"},
    {u"PE", u"18100000000021"}, {u"PE", u"18100000000080"},
    // BA's 9-digit form: modulo 10 (second digit 0–5 or 8), modulo 11 (6, 7 or 9), and
    // modulo 11 with a remainder below 2.
    {u"BA", u"709542229"},      {u"BA", u"035879152"},      {u"BA", u"786223075"},
    {u"BA", u"162891601"},      {u"BA", u"174336144"},      {u"BA", u"493645002"},
    {u"BA", u"964901690"},
    // PE's 9-digit form, with a remainder of 1 for the first check digit and of 0 for the second.
    {u"PE", u"306067218"},      {u"PE", u"036190101"},      {u"PE", u"933501200"},
    {u"PE", u"539163104"},      {u"PE", u"356929280"},
    // RN's 10-digit form, the last with (Σ × 10) mod 11 of 10.
    {u"RN", u"2080819780"},     {u"RN", u"2036163190"},     {u"RN", u"2022900480"},
    {u"RN", u"2058709870"},
};

}  // namespace zelmor::testdata
