#include "support/WrittenPrograms.h"

#include <algorithm>
#include <cstdio>

namespace kestrovan::test::written {

namespace {

// printf into a string, for generated blocks.
template <class... A> std::string format(const char* f, A... a) {
  char buffer[128];
  const int n = std::snprintf(buffer, sizeof buffer, f, a...);
  return std::string(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

} // namespace

std::string shiftJisPrograms() {
  return "%\r\n"
         "O2001(\x8AO\x8C` \x8Dr\x8D\xED\x82\xE8)\r\n"
         "(\x8D\xDE\x8E\xBF:SS400 \x8DH\x8B\xEF:\x83\xD3"
         "12\xB4\xDD\xC4\xDE\xD0\xD9 \x83\\\x95\\)\r\n"
         "G90G54G00X-10.Y-10.\r\n"
         "G43Z50.H1M03S1200\r\n"
         "G01Z-5.F150\r\n"
         "X60.(\x91\xA4\x96\xCA \x81` \x8Ap)\r\n"
         "Y40.\r\n"
         "X-10.\r\n"
         "M99\r\n"
         "O2002(\x8C\x8A\x82\xA0\x82\xAF \xBE\xDD\xC0\xB0\xC4\xDE\xD8\xD9)\r\n"
         "G81X20.Y20.Z-3.R2.F80\r\n"
         "X40.\r\n"
         "G80\r\n"
         "M99\r\n"
         "O2003(\x83\x81\x83"
         "C\x83\x93 \x8C\xC4\x8Fo\x82\xB5)\r\n"
         "M98P2001\r\n"
         "M98P2002\r\n"
         "M30\r\n"
         "%\r\n";
}

std::string shiftJisProgramsUtf8() {
  return "%\n"
         "O2001(外形 荒削り)\n"
         "(材質:SS400 工具:φ12ｴﾝﾄﾞﾐﾙ ソ表)\n"
         "G90G54G00X-10.Y-10.\n"
         "G43Z50.H1M03S1200\n"
         "G01Z-5.F150\n"
         "X60.(側面 ～ 角)\n"
         "Y40.\n"
         "X-10.\n"
         "M99\n"
         "O2002(穴あけ ｾﾝﾀｰﾄﾞﾘﾙ)\n"
         "G81X20.Y20.Z-3.R2.F80\n"
         "X40.\n"
         "G80\n"
         "M99\n"
         "O2003(メイン 呼出し)\n"
         "M98P2001\n"
         "M98P2002\n"
         "M30\n"
         "%\n";
}

std::vector<std::string> shiftJisHeaders() {
  return {"O2001(外形 荒削り)", "O2002(穴あけ ｾﾝﾀｰﾄﾞﾘﾙ)", "O2003(メイン 呼出し)"};
}

std::string handwrittenLf() {
  std::string text = "\n%\nO4711 (BRACKET 80X40 - 2 HOLES)(OP 1 OF 2)\n"
                     "(T1 50MM FACE MILL - LONG COMMENT ABOUT THE SETUP AND THE VISE JAWS)\n"
                     "\n"
                     "N5 G00 G17 G40 G49 G80 G90 \n"
                     "N10 T1 M06 \n"
                     "N15 G54 X-30. Y20. S2500 M03 \n"
                     "N20 G43 H01 Z25. M08\n"
                     "\n";
  for (int i = 0; i < 12; ++i)
    text += format("N%d G01 X%d. Y%d.%d F400. \n", 25 + i * 5, 10 * (i % 5), 20 - i, i);
  text += "\n(T2 6.8 DRILL)\nN90 G83 X20. Y20. Z-22. Q2. R2. F120.\nX60.\nG80\n";
  return text + kHandwrittenLastBlock + "\n\n%";
}

std::string ctrlZAtTheEnd() {
  return "% \r\n"
         ":0321(COVER PLATE)\r\n"
         "G90G80G40G49\r\n"
         "G54G00X-114.Y0\r\n"
         "G43Z5.H19M03S1400\r\n"
         "G42D19G01X-100.F39\r\n"
         "Y-60.\r\n"
         "X100.\r\n"
         "G40G00Z100.\r\n"
         "M30\r\n"
         "%\r\n"
         "\x1A";
}

std::string withoutProgramNumber(int blocks) {
  std::string text = "\nN1 G00 G17 G21 G40 G49 G80 G90\n";
  for (int n = 2; n < blocks; ++n) {
    if (n % 50 == 2)
      text += format("N%d G01 X-%d.%03d Y-%d.%03d Z-%d.%03d F1200\n", n, 75 - n % 75, n % 1000, 93, n % 997,
                     n % 4, n % 991);
    else
      text += format("N%d X-%d.%03d Z-%d.%03d\n", n, 75 - n % 75, (n * 37) % 1000, n % 4, (n * 13) % 1000);
  }
  text += format("N%d M30\n", blocks);
  return text + "%\n";
}

std::string largeCamLathe() {
  std::string text = "%O4200(GWINT M64{2} ZEWN)\r\n"
                     "(NARZ{EDZIE T0101)\r\n"
                     "N1 G21 G40 G97 S800 M03\r\n"
                     "N2 T0101\r\n";
  int n = 2;
  auto block = [&](const std::string& words) {
    n = std::min(n + 5, 99999);
    text += format("N%d ", n) + words + "\r\n";
  };
  // X in every form a program writes it: decimals, none, a bare point, a
  // leading point, negative, zero.
  auto x = [](int pass) {
    const int depth = pass % 300;
    switch (pass % 6) {
    case 0: return format("X%d.%03d", 64 - depth / 100, 999 - depth);
    case 1: return format("X%d", 62 - depth / 100);
    case 2: return format("X%d.", 63 - depth / 100);
    case 3: return format("X.%d", 45 + depth % 50);
    case 4: return format("X-%d.%d", 1 + depth % 9, depth % 10);
    default: return std::string("X0.");
    }
  };
  for (int pass = 0; pass < 7200; ++pass) {
    block("G00 " + x(pass));
    block(pass % 40 == 0 ? "G33 Z-40.000 F2.000 (PRZEJ{CIE)" : "G33 Z-40.000 F2.000");
    block("G00 X75.000");
    block("G00 Z5.000");
  }
  block("G00 X150. Z150. M09");
  block("M30");
  return text + "%";
}

std::string compactBlocks() {
  return "%\r\n"
         "O0417(FLANGE OP1)\r\n"
         "N01G50S0600 \r\n"
         "N02G00T0202M41\r\n"
         "N03G96S180M03\r\n"
         "N04X118Z.45M08 \r\n"
         "N05G01X88.F.3\r\n"
         "N06Z-12.F0.25\r\n"
         "N07X118M09  \r\n"
         "N08G00X200Z200T0200\r\n"
         "N09M30\r\n"
         "%\r\n";
}

std::string withoutPercent() {
  return "O3100 (POCKET 150X150)\n"
         "(T1  D10 ENDMILL       )\n"
         "(T2  D6  DRILL         )\n"
         "G21 G90 G17\n"
         "T1 M6\n"
         "G0 X-75 Y-75 S3000 M3\n"
         "G43 Z100 H1\n"
         "G1 Z-5 F300\n"
         "X75\n"
         "Y75\n"
         "X-75\n"
         "Y-75\n"
         "G0 Z100\n"
         "M30";
}

std::string namedSubprograms() {
  std::string text = "$POCKETS.SSB%\r\n";
  const char* names[] = {"OSTART", "OPOCKET", "OFACE80", "OCHAMF", "ODRILL", "OTAP12", "OBORE", "OCLEAN"};
  for (const char* name : names) {
    text += std::string(name) + "\r\n";
    text += "N100 IF [VC1 EQ 0] N200\r\n";
    for (int i = 0; i < 30; ++i)
      text += format("G01 X%d.%d Y-%d.%d F500\r\n", 10 + i, i, 20 + i, (i * 3) % 10);
    text += "N200 VC1=VC1+1\r\nCALL OCLEAN\r\nRTS\r\n";
  }
  return text + "%\r\n";
}

std::vector<Program> all() {
  return {
      {"SJIS.NC", shiftJisPrograms()},        {"HANDWRITTEN_LF.NC", handwrittenLf()},
      {"CTRLZ.NC", ctrlZAtTheEnd()},          {"NO_ONUMBER_LF.NC", withoutProgramNumber(35000)},
      {"LARGE_LATHE.NC", largeCamLathe()},    {"COMPACT.NC", compactBlocks()},
      {"NO_PERCENT_LF.NC", withoutPercent()}, {"NAMED_SUBS.NC", namedSubprograms()},
  };
}

} // namespace kestrovan::test::written
